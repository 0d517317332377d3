#pragma once
// A registry kept in memory, for tests of everything that reads or writes
// settings. Key paths and value names compare without regard to ASCII case, as
// in the real registry. Faults can be arranged per key or per value.
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "core/registry_store.h"

namespace lumitrax::core {

class MemoryRegistry : public RegistryStore {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, KeyAccess access) override;
  std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, std::string_view path) override;

  // Direct access for arranging and checking a test's registry.
  void AddKey(RegistryRoot root, std::string_view path);
  void Set(RegistryRoot root, std::string_view path, std::string_view name, RegistryValue value);
  std::optional<RegistryValue> Get(RegistryRoot root, std::string_view path, std::string_view name) const;
  bool KeyExists(RegistryRoot root, std::string_view path) const;
  size_t ValueCount(RegistryRoot root, std::string_view path) const;

  // Faults: opening an existing key with this access is refused; creating (or
  // opening for writing) this key fails; reading or writing this value fails.
  void DenyAccess(RegistryRoot root, std::string_view path, KeyAccess access);
  void FailCreating(RegistryRoot root, std::string_view path);
  void FailReading(RegistryRoot root, std::string_view path, std::string_view name);
  void FailWriting(RegistryRoot root, std::string_view path, std::string_view name);

 private:
  class Key;
  using KeyId = std::pair<RegistryRoot, std::string>;  // root and folded path
  struct Node {
    std::map<std::string, RegistryValue> values;  // by folded name
    std::set<KeyAccess> denied;
    std::set<std::string> failReading;
    std::set<std::string> failWriting;
  };

  static KeyId Id(RegistryRoot root, std::string_view path);
  Node& NodeFor(RegistryRoot root, std::string_view path);
  const Node* Find(RegistryRoot root, std::string_view path) const;

  std::map<KeyId, Node> keys_;
  std::set<KeyId> failCreating_;  // keys that can be neither created nor opened for writing
};

}  // namespace lumitrax::core
