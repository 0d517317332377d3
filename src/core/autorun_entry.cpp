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

}  // namespace lumitrax::core
