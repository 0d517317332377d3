#include "core/autorun_entry.h"

namespace lumitrax::core {

std::string RunValueName(std::string_view module_path) {
  const size_t separator = module_path.find_last_of("\\:");
  return std::string(separator == std::string_view::npos ? module_path : module_path.substr(separator + 1));
}

std::string RunValueData(std::string_view module_path) { return '"' + std::string(module_path) + '"'; }

void ApplyAutorun(RegistryStore& store, bool enabled, std::string_view module_path) {
  if (enabled)
    WriteRegistryString(store, HkeyCurrentUser, RunKey, RunValueName(module_path), RunValueData(module_path));
  else
    DeleteRegistryValue(store, HkeyCurrentUser, RunKey, RunValueName(module_path));
}

bool StartupTurnedOffInWindows(RegistryStore& store, std::string_view module_path) {
  const auto key = OpenKeyReadOnly(store, HkeyCurrentUser, StartupApprovedKey);
  if (!key) return false;
  const auto value = key->ReadValue(RunValueName(module_path));
  if (!value || value->Type != RegistryType::Binary || value->Data.empty()) return false;
  return (static_cast<unsigned char>(value->Data[0]) & 1) != 0;
}

void MarkStartupEnabledInWindows(RegistryStore& store, std::string_view module_path) {
  if (!StartupTurnedOffInWindows(store, module_path)) return;
  const std::string name = RunValueName(module_path);
  auto key = store.CreateKey(HkeyCurrentUser, StartupApprovedKey);
  if (!key) throw RegistryError::OpenKeyFailed(StartupApprovedKey);
  std::string enabled(StartupApprovedSize, '\0');
  enabled[0] = static_cast<char>(StartupApprovedEnabled);
  if (!key->WriteValue(name, RegistryValue{RegistryType::Binary, enabled})) throw RegistryError::SetDataFailed(name);
}

}  // namespace lumitrax::core
