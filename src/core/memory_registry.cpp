#include "core/memory_registry.h"

#include <cctype>

namespace lumitrax::core {
namespace {

std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

}  // namespace

// An open key: a view of one node, allowed to write only when opened for it.
class MemoryRegistry::Key : public RegistryKey {
 public:
  Key(Node& node, bool writable) : node_(node), writable_(writable) {}

  bool ValueExists(std::string_view name) const override { return node_.values.count(Fold(name)) > 0; }

  std::optional<RegistryValue> ReadValue(std::string_view name) const override {
    const std::string folded = Fold(name);
    if (node_.failReading.count(folded)) return std::nullopt;
    const auto found = node_.values.find(folded);
    if (found == node_.values.end()) return std::nullopt;
    return found->second;
  }

  bool WriteValue(std::string_view name, const RegistryValue& value) override {
    const std::string folded = Fold(name);
    if (!writable_ || node_.failWriting.count(folded)) return false;
    node_.values[folded] = value;
    return true;
  }

  bool DeleteValue(std::string_view name) override {
    return writable_ && node_.values.erase(Fold(name)) > 0;
  }

 private:
  Node& node_;
  bool writable_;
};

MemoryRegistry::KeyId MemoryRegistry::Id(RegistryRoot root, std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return {root, Fold(path)};
}

MemoryRegistry::Node& MemoryRegistry::NodeFor(RegistryRoot root, std::string_view path) {
  const KeyId id = Id(root, path);
  // Creating a key creates its parents.
  for (size_t slash = id.second.find('\\'); slash != std::string::npos;
       slash = id.second.find('\\', slash + 1))
    keys_[{root, id.second.substr(0, slash)}];
  return keys_[id];
}

const MemoryRegistry::Node* MemoryRegistry::Find(RegistryRoot root, std::string_view path) const {
  const auto found = keys_.find(Id(root, path));
  return found == keys_.end() ? nullptr : &found->second;
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(RegistryRoot root, std::string_view path, KeyAccess access) {
  const KeyId id = Id(root, path);
  const auto found = keys_.find(id);
  if (found == keys_.end() || found->second.denied.count(access)) return nullptr;
  if (access == KeyAccess::ReadWrite && failCreating_.count(id)) return nullptr;
  return std::make_unique<Key>(found->second, access == KeyAccess::ReadWrite);
}

std::unique_ptr<RegistryKey> MemoryRegistry::CreateKey(RegistryRoot root, std::string_view path) {
  if (failCreating_.count(Id(root, path))) return nullptr;
  Node& node = NodeFor(root, path);
  if (node.denied.count(KeyAccess::ReadWrite)) return nullptr;
  return std::make_unique<Key>(node, true);
}

void MemoryRegistry::AddKey(RegistryRoot root, std::string_view path) { NodeFor(root, path); }

void MemoryRegistry::Set(RegistryRoot root, std::string_view path, std::string_view name, RegistryValue value) {
  NodeFor(root, path).values[Fold(name)] = std::move(value);
}

std::optional<RegistryValue> MemoryRegistry::Get(RegistryRoot root, std::string_view path,
                                                 std::string_view name) const {
  const Node* node = Find(root, path);
  if (!node) return std::nullopt;
  const auto found = node->values.find(Fold(name));
  if (found == node->values.end()) return std::nullopt;
  return found->second;
}

bool MemoryRegistry::KeyExists(RegistryRoot root, std::string_view path) const { return Find(root, path); }

size_t MemoryRegistry::ValueCount(RegistryRoot root, std::string_view path) const {
  const Node* node = Find(root, path);
  return node ? node->values.size() : 0;
}

void MemoryRegistry::DenyAccess(RegistryRoot root, std::string_view path, KeyAccess access) {
  NodeFor(root, path).denied.insert(access);
}

void MemoryRegistry::FailCreating(RegistryRoot root, std::string_view path) {
  failCreating_.insert(Id(root, path));
}

void MemoryRegistry::FailReading(RegistryRoot root, std::string_view path, std::string_view name) {
  NodeFor(root, path).failReading.insert(Fold(name));
}

void MemoryRegistry::FailWriting(RegistryRoot root, std::string_view path, std::string_view name) {
  NodeFor(root, path).failWriting.insert(Fold(name));
}

}  // namespace lumitrax::core
