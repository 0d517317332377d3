#include "core/settings_store.h"

#include <algorithm>
#include <memory>
#include <string>

namespace lumitrax::core {
namespace {

std::string GroupPath(std::string_view key, std::string_view subkey) {
  return subkey.empty() ? std::string(key) : SubkeyPath(key, subkey);
}

struct Reader {
  const RegistryKey& key;
  Settings& settings;
  std::string_view name;

  void operator()(const BooleanSetting& field) const { settings.*field.Member = ReadDword(key, name) != 0; }
  void operator()(const IntegerSetting& field) const {
    settings.*field.Member = static_cast<int32_t>(ReadDword(key, name));
  }
  void operator()(const ColorSetting& field) const { settings.*field.Member = ReadDword(key, name); }
  void operator()(const StringSetting& field) const { settings.*field.Member = ReadString(key, name); }
};

struct Writer {
  const Settings& settings;

  RegistryValue operator()(const BooleanSetting& field) const {
    return RegistryValue::Dword(settings.*field.Member ? 1 : 0);
  }
  RegistryValue operator()(const IntegerSetting& field) const {
    return RegistryValue::Dword(static_cast<uint32_t>(settings.*field.Member));
  }
  RegistryValue operator()(const ColorSetting& field) const { return RegistryValue::Dword(settings.*field.Member); }
  RegistryValue operator()(const StringSetting& field) const {
    return RegistryValue::Text(settings.*field.Member, RegistryType::String);
  }
};

}  // namespace

void LoadSettings(RegistryStore& store, RegistryRoot root, std::string_view key, Settings& settings) {
  std::unique_ptr<RegistryKey> group;
  std::string_view groupSubkey;
  bool first = true;
  for (const SettingEntry& entry : SettingsRecord()) {
    if (first || entry.Subkey != groupSubkey) {
      group = OpenKeyReadOnly(store, root, GroupPath(key, entry.Subkey));
      groupSubkey = entry.Subkey;
      first = false;
    }
    if (entry.HeldByWindow)
      std::visit([&](const auto& field) { settings.*field.Member = field.Default; }, entry.Field);
    if (group && group->ValueExists(entry.Name)) std::visit(Reader{*group, settings, entry.Name}, entry.Field);
  }
}

void SaveSettings(RegistryStore& store, RegistryRoot root, std::string_view key, const Settings& settings,
                  std::span<const std::string_view> unwritten) {
  std::unique_ptr<RegistryKey> group;
  std::string_view groupSubkey;
  bool first = true;
  for (const SettingEntry& entry : SettingsRecord()) {
    if (first || entry.Subkey != groupSubkey) {
      group = store.CreateKey(root, GroupPath(key, entry.Subkey));
      groupSubkey = entry.Subkey;
      first = false;
      if (!group && entry.Subkey.empty()) throw RegistryError::SetDataFailed(entry.Name);
    }
    if (!group) continue;
    if (std::find(unwritten.begin(), unwritten.end(), entry.Name) != unwritten.end()) continue;
    if (!group->WriteValue(entry.Name, std::visit(Writer{settings}, entry.Field)))
      throw RegistryError::SetDataFailed(entry.Name);
  }
}

}  // namespace lumitrax::core
