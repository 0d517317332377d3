#pragma once
// The program's entry in the user's Run key, which the shell reads at logon.
#include <string>
#include <string_view>

#include "core/registry_store.h"

namespace lumitrax::core {

inline constexpr std::string_view RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The executable's file name with its extension: the text after the last "\"
// or ":" of its full path.
std::string RunValueName(std::string_view module_path);

// The full path in double quotation marks, without arguments.
std::string RunValueData(std::string_view module_path);

// Writes the entry for this executable when `enabled`, else deletes it. The
// Run key is never read: the setting decides. Writing raises "Unable to open
// the %s key" or "Failed to set data for '%s'"; deleting never raises.
void ApplyAutorun(RegistryStore& store, bool enabled, std::string_view module_path);

}  // namespace lumitrax::core
