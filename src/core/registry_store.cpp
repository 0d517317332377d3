#include "core/registry_store.h"

#include <cstddef>
#include <utility>

#include "core/texts.h"

namespace lumitrax::core {
RegistryValue RegistryValue::Dword(uint32_t value) {
  std::string bytes(4, '\0');
  for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
  return {RegistryType::Dword, std::move(bytes)};
}

RegistryValue RegistryValue::Text(std::string text, RegistryType type) { return {type, std::move(text)}; }

RegistryError RegistryError::InvalidDataType(std::string_view name) {
  return RegistryError(FormatText(T::ErrorInvalidType, {name}));
}
RegistryError RegistryError::GetDataFailed(std::string_view name) {
  return RegistryError(FormatText(T::ErrorGetData, {name}));
}
RegistryError RegistryError::SetDataFailed(std::string_view name) {
  return RegistryError(FormatText(T::ErrorSetData, {name}));
}
RegistryError RegistryError::OpenKeyFailed(std::string_view path) {
  return RegistryError(FormatText(T::ErrorOpenKey, {path}));
}

std::string SubkeyPath(std::string_view key, std::string_view subkey) {
  return std::string(key) + '\\' + std::string(subkey);
}

std::unique_ptr<RegistryKey> OpenKeyReadOnly(RegistryStore& store, RegistryRoot root, std::string_view path) {
  for (KeyAccess access : {KeyAccess::Read, KeyAccess::QueryAndEnumerate, KeyAccess::Query}) {
    if (auto key = store.OpenKey(root, path, access)) return key;
  }
  return nullptr;
}

uint32_t ReadDword(const RegistryKey& key, std::string_view name) {
  const auto value = key.ReadValue(name);
  if (!value) throw RegistryError::GetDataFailed(name);
  if (value->Type != RegistryType::Dword) throw RegistryError::InvalidDataType(name);
  if (value->Data.size() > 4) throw RegistryError::GetDataFailed(name);
  uint32_t number = 0;
  for (size_t i = 0; i < value->Data.size(); ++i)
    number |= uint32_t{static_cast<unsigned char>(value->Data[i])} << (8 * i);
  return number;
}

std::string ReadString(const RegistryKey& key, std::string_view name) {
  const auto value = key.ReadValue(name);
  if (!value) throw RegistryError::GetDataFailed(name);
  if (value->Type != RegistryType::String && value->Type != RegistryType::ExpandString)
    throw RegistryError::InvalidDataType(name);
  return value->Data;
}

RegistryType StringValueType(std::string_view value) {
  return value.find('%') != std::string_view::npos ? RegistryType::ExpandString : RegistryType::String;
}

void WriteRegistryString(RegistryStore& store, RegistryRoot root, std::string_view key, std::string_view name,
                         std::string_view value) {
  const auto opened = store.CreateKey(root, key);
  if (!opened) throw RegistryError::OpenKeyFailed(key);
  if (!opened->WriteValue(name, RegistryValue::Text(std::string(value), StringValueType(value))))
    throw RegistryError::SetDataFailed(name);
}

bool DeleteRegistryValue(RegistryStore& store, RegistryRoot root, std::string_view key, std::string_view name) {
  const auto opened = store.OpenKey(root, key, KeyAccess::ReadWrite);
  return opened && opened->DeleteValue(name);
}

std::string ReadRegistryString(RegistryStore& store, RegistryRoot root, std::string_view key,
                               std::string_view name, std::string_view fallback) {
  const auto opened = OpenKeyReadOnly(store, root, key);
  if (!opened) return std::string(fallback);
  const auto value = opened->ReadValue(name);
  if (!value) return std::string(fallback);
  switch (value->Type) {
    case RegistryType::String:
    case RegistryType::ExpandString:
    case RegistryType::Binary:
      return value->Data;
    default:
      return std::string(fallback);
  }
}

}  // namespace lumitrax::core
