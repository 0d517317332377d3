#include "core/admin_policy.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace lumitrax::core {
namespace {

constexpr std::array<RegistryRoot, 2> PolicyRoots{HkeyLocalMachine, HkeyCurrentUser};

std::string GroupPath(std::string_view key, std::string_view subkey) {
  return subkey.empty() ? std::string(key) : SubkeyPath(key, subkey);
}

// A value read as the settings read it; nothing when it is absent or broken.
std::optional<RegistryValue> ReadValid(RegistryStore& store, RegistryRoot root, std::string_view path,
                                       std::string_view name, SettingType type) {
  try {
    const auto key = OpenKeyReadOnly(store, root, path);
    if (!key || !key->ValueExists(name)) return std::nullopt;
    if (type == SettingType::String) return RegistryValue::Text(ReadString(*key, name));
    return RegistryValue::Dword(ReadDword(*key, name));
  } catch (const RegistryError&) {
    return std::nullopt;
  }
}

struct Taker {
  const RegistryValue& value;
  Settings& settings;

  uint32_t Number() const {
    uint32_t n = 0;
    for (size_t i = 0; i < 4; ++i) n |= static_cast<uint32_t>(static_cast<unsigned char>(value.Data[i])) << (8 * i);
    return n;
  }
  void operator()(const BooleanSetting& field) const { settings.*field.Member = Number() != 0; }
  void operator()(const IntegerSetting& field) const { settings.*field.Member = static_cast<int32_t>(Number()); }
  void operator()(const ColorSetting& field) const { settings.*field.Member = Number(); }
  void operator()(const StringSetting& field) const { settings.*field.Member = value.Data; }
};

}  // namespace

bool UsageReportsDisabledByPolicy(RegistryStore& store) {
  for (RegistryRoot root : PolicyRoots) {
    const auto value = ReadValid(store, root, PolicyKey, DisableUsageReportsName, SettingType::Integer);
    if (!value) continue;
    if (*value == RegistryValue::Dword(1)) return true;
    if (*value == RegistryValue::Dword(0)) return false;
  }
  return false;
}

std::vector<const SettingEntry*> ApplyAdminPresets(RegistryStore& store, RegistryRoot root, std::string_view key,
                                                   Settings& settings) {
  std::vector<const SettingEntry*> taken;
  for (const SettingEntry& entry : SettingsRecord()) {
    if (!entry.Presettable) continue;
    bool stored = false;
    try {
      const auto user = OpenKeyReadOnly(store, root, GroupPath(key, entry.Subkey));
      stored = user && user->ValueExists(entry.Name);
    } catch (const RegistryError&) {
    }
    if (stored) continue;
    for (RegistryRoot policyRoot : PolicyRoots) {
      const auto value = ReadValid(store, policyRoot, GroupPath(PolicyKey, entry.Subkey), entry.Name, entry.Type());
      if (!value) continue;
      std::visit(Taker{*value, settings}, entry.Field);
      taken.push_back(&entry);
      break;
    }
  }
  return taken;
}

}  // namespace lumitrax::core
