#include "framework/win_registry.h"

#include <cstring>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "framework/handles.h"
#include "framework/text.h"

namespace lumitrax {
namespace {

REGSAM AccessRights(core::KeyAccess access) {
  switch (access) {
    case core::KeyAccess::Read:
      return KEY_READ;
    case core::KeyAccess::QueryAndEnumerate:
      return KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
    case core::KeyAccess::Query:
      return KEY_QUERY_VALUE;
    case core::KeyAccess::ReadWrite:
      break;
  }
  return KEY_READ | KEY_WRITE;
}

// The program writes paths as "\Software\..."; the API wants them relative.
std::wstring RelativePath(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  return Widen(path);
}

class WinKey : public core::RegistryKey {
 public:
  explicit WinKey(UniqueRegKey key) : key_(std::move(key)) {}

  bool ValueExists(std::string_view name) const override {
    return ::RegQueryValueExW(key_.get(), Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

  std::optional<core::RegistryValue> ReadValue(std::string_view name) const override {
    const std::wstring wide_name = Widen(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    std::vector<BYTE> data;
    // The value may grow between asking for its size and reading it.
    LSTATUS status = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
      if (::RegQueryValueExW(key_.get(), wide_name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
      data.assign(size, 0);
      status = ::RegQueryValueExW(key_.get(), wide_name.c_str(), nullptr, &type, data.data(), &size);
    }
    if (status != ERROR_SUCCESS) return std::nullopt;
    data.resize(size);
    core::RegistryValue value;
    value.Type = static_cast<core::RegistryType>(type);
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      // The stored text may or may not end in a null; it ends at the first one.
      std::wstring text(data.size() / sizeof(wchar_t), L'\0');
      if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
      text.resize(std::wcslen(text.c_str()));
      value.Data = Narrow(text);
    } else {
      value.Data.assign(data.begin(), data.end());
    }
    return value;
  }

  bool WriteValue(std::string_view name, const core::RegistryValue& value) override {
    const auto type = static_cast<DWORD>(value.Type);
    std::vector<BYTE> data;
    if (value.Type == core::RegistryType::String || value.Type == core::RegistryType::ExpandString) {
      const std::wstring text = Widen(value.Data);
      const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
      data.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
    } else {
      data.assign(value.Data.begin(), value.Data.end());
    }
    return ::RegSetValueExW(key_.get(), Widen(name).c_str(), 0, type, data.data(),
                            static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  }

  bool DeleteValue(std::string_view name) override {
    return ::RegDeleteValueW(key_.get(), Widen(name).c_str()) == ERROR_SUCCESS;
  }

 private:
  UniqueRegKey key_;
};

}  // namespace

HKEY RootKey(core::RegistryRoot root) {
  // The predefined handles are sign-extended 32-bit numbers.
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

core::RegistryRoot RootOf(HKEY key) {
  return static_cast<core::RegistryRoot>(reinterpret_cast<ULONG_PTR>(key) & 0xFFFFFFFFu);
}

std::unique_ptr<core::RegistryKey> TWinRegistry::OpenKey(core::RegistryRoot root, std::string_view path,
                                                         core::KeyAccess access) {
  UniqueRegKey key;
  if (::RegOpenKeyExW(RootKey(root), RelativePath(path).c_str(), 0, AccessRights(access), key.put()) !=
      ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<WinKey>(std::move(key));
}

std::unique_ptr<core::RegistryKey> TWinRegistry::CreateKey(core::RegistryRoot root, std::string_view path) {
  UniqueRegKey key;
  if (::RegCreateKeyExW(RootKey(root), RelativePath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<WinKey>(std::move(key));
}

}  // namespace lumitrax
