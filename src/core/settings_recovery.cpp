#include "core/settings_recovery.h"

#include <memory>
#include <string>
#include <utility>

#include "core/settings_store.h"

namespace lumitrax::core {
namespace {

const SettingEntry* FindEntry(std::string_view subkey, std::string_view name) {
  for (const SettingEntry& entry : SettingsRecord())
    if (entry.Subkey == subkey && entry.Name == name) return &entry;
  return nullptr;
}

// Reads the value as its setting will be read, raising what that read raises.
void ReadAsSetting(const RegistryKey& key, SettingType type, std::string_view name) {
  if (type == SettingType::String)
    ReadString(key, name);
  else
    ReadDword(key, name);
}

// A key of the settings that hides its damaged values and notes the first
// failure they give.
class CheckedKey : public RegistryKey {
 public:
  CheckedKey(std::unique_ptr<RegistryKey> inner, std::string subkey, std::optional<RegistryError>& first_error)
      : inner_(std::move(inner)), subkey_(std::move(subkey)), first_error_(first_error) {}

  bool ValueExists(std::string_view name) const override {
    if (!inner_->ValueExists(name)) return false;
    const SettingEntry* entry = FindEntry(subkey_, name);
    if (!entry) return true;
    try {
      ReadAsSetting(*inner_, entry->Type(), name);
      return true;
    } catch (const RegistryError& error) {
      if (!first_error_) first_error_ = error;
      return false;
    }
  }
  std::optional<RegistryValue> ReadValue(std::string_view name) const override { return inner_->ReadValue(name); }
  bool WriteValue(std::string_view name, const RegistryValue& value) override {
    return inner_->WriteValue(name, value);
  }
  bool DeleteValue(std::string_view name) override { return inner_->DeleteValue(name); }

 private:
  std::unique_ptr<RegistryKey> inner_;
  std::string subkey_;
  std::optional<RegistryError>& first_error_;
};

class CheckedStore : public RegistryStore {
 public:
  CheckedStore(RegistryStore& inner, std::string_view key) : inner_(inner), key_(key) {}

  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, KeyAccess access) override {
    return Checked(inner_.OpenKey(root, path, access), path);
  }
  std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, std::string_view path) override {
    return Checked(inner_.CreateKey(root, path), path);
  }
  std::optional<RegistryError>& FirstError() { return first_error_; }

 private:
  std::unique_ptr<RegistryKey> Checked(std::unique_ptr<RegistryKey> key, std::string_view path) {
    if (!key) return nullptr;
    // The main key, or one of its subkeys.
    std::string_view subkey;
    if (path.size() > key_.size() && path.substr(0, key_.size()) == key_) subkey = path.substr(key_.size() + 1);
    return std::make_unique<CheckedKey>(std::move(key), std::string(subkey), first_error_);
  }

  RegistryStore& inner_;
  std::string_view key_;
  std::optional<RegistryError> first_error_;
};

}  // namespace

std::optional<RegistryError> LoadSettingsPastDamage(RegistryStore& store, RegistryRoot root, std::string_view key,
                                                    Settings& settings) {
  CheckedStore checked(store, key);
  LoadSettings(checked, root, key, settings);
  return std::move(checked.FirstError());
}

}  // namespace lumitrax::core
