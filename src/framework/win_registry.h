#pragma once
// The registry store of the program: the real registry through advapi32.
#include <windows.h>

#include <memory>
#include <string_view>

#include "core/registry_store.h"

namespace lumitrax {

class TWinRegistry : public core::RegistryStore {
 public:
  std::unique_ptr<core::RegistryKey> OpenKey(core::RegistryRoot root, std::string_view path,
                                             core::KeyAccess access) override;
  std::unique_ptr<core::RegistryKey> CreateKey(core::RegistryRoot root, std::string_view path) override;
};

// The predefined key handle of a root, and back.
HKEY RootKey(core::RegistryRoot root);
core::RegistryRoot RootOf(HKEY key);

}  // namespace lumitrax
