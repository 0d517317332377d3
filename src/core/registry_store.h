#pragma once
// The registry as the settings see it: keys under a root, opened for reading or
// writing, holding typed values. The Windows program implements it on the real
// registry; MemoryRegistry keeps it in memory. On top of it: the typed reads
// with the program's error texts, and the registry helpers shared by the
// settings, the autorun entry and the on-screen display's position.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lumitrax::core {

// Value types, numbered as REG_NONE, REG_SZ, ...
enum class RegistryType : uint32_t {
  None = 0,
  String = 1,
  ExpandString = 2,
  Binary = 3,
  Dword = 4,
  DwordBigEndian = 5,
  Link = 6,
  MultiString = 7,
  Qword = 11,
};

struct RegistryValue {
  RegistryType Type = RegistryType::None;
  // String and ExpandString: the text in UTF-8 without its terminating null.
  // Every other type: the raw bytes.
  std::string Data;

  static RegistryValue Dword(uint32_t value);
  static RegistryValue Text(std::string text, RegistryType type = RegistryType::String);
  friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// A predefined root key, numbered as the HKEY_* handles.
using RegistryRoot = uint32_t;
inline constexpr RegistryRoot HkeyCurrentUser = 0x80000001;
inline constexpr RegistryRoot HkeyLocalMachine = 0x80000002;

// Read: full read access. QueryAndEnumerate and Query: the smaller read rights a
// restricted key may still grant. ReadWrite: reading, writing and deleting values.
enum class KeyAccess { Read, QueryAndEnumerate, Query, ReadWrite };

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual bool ValueExists(std::string_view name) const = 0;
  // The value's type and data; nothing when it is missing or cannot be read.
  virtual std::optional<RegistryValue> ReadValue(std::string_view name) const = 0;
  virtual bool WriteValue(std::string_view name, const RegistryValue& value) = 0;
  virtual bool DeleteValue(std::string_view name) = 0;
};

// Key paths are written as the program holds them ("\Software\..."); a leading
// backslash is ignored, paths are always taken from the root.
class RegistryStore {
 public:
  virtual ~RegistryStore() = default;
  // Opens an existing key; nothing when it is missing or the access is refused.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, KeyAccess access) = 0;
  // Opens a key for reading and writing, creating it and its parents when missing.
  virtual std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, std::string_view path) = 0;
};

// A registry failure, with the message the error box shows.
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  static RegistryError InvalidDataType(std::string_view name);
  static RegistryError GetDataFailed(std::string_view name);
  static RegistryError SetDataFailed(std::string_view name);
  static RegistryError OpenKeyFailed(std::string_view path);
};

// `key` + "\" + `subkey`.
std::string SubkeyPath(std::string_view key, std::string_view subkey);

// Opens a key for reading with the most access it grants: full read access,
// else query and enumerate, else query only. Nothing when none is granted.
std::unique_ptr<RegistryKey> OpenKeyReadOnly(RegistryStore& store, RegistryRoot root, std::string_view path);

// Typed reads of a present value. A number must be a REG_DWORD, a text a REG_SZ
// or REG_EXPAND_SZ (not expanded); other types raise "Invalid data type for
// '%s'". A value that cannot be read, or a number of more than four bytes,
// raises "Failed to get data for '%s'". A shorter number is zero-extended.
uint32_t ReadDword(const RegistryKey& key, std::string_view name);
std::string ReadString(const RegistryKey& key, std::string_view name);

// The type a text is written with: REG_EXPAND_SZ when it holds "%", else REG_SZ.
RegistryType StringValueType(std::string_view value);

// Opens `key` (creating it when missing) and writes the text with
// StringValueType. Raises "Unable to open the %s key" (the key path) when the
// key can neither be opened nor created, "Failed to set data for '%s'" (the
// value name) when the write fails.
void WriteRegistryString(RegistryStore& store, RegistryRoot root, std::string_view key, std::string_view name,
                         std::string_view value);

// Deletes a value of an existing key; whether it was deleted. Never raises.
bool DeleteRegistryValue(RegistryStore& store, RegistryRoot root, std::string_view key, std::string_view name);

// The text of a string or expandable string value (not expanded), or the bytes
// of a binary value taken as characters; `fallback` for anything else: a missing
// key or value, another type, an error. Never raises.
std::string ReadRegistryString(RegistryStore& store, RegistryRoot root, std::string_view key,
                               std::string_view name, std::string_view fallback);

}  // namespace lumitrax::core
