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

// Where Task Manager's Startup tab and the Settings app keep the user's on/off
// of each Run entry: a binary value named like the Run value, its first byte
// even (enabled) or odd (turned off), then the time of the change.
inline constexpr std::string_view StartupApprovedKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
inline constexpr size_t StartupApprovedSize = 12;
inline constexpr unsigned char StartupApprovedEnabled = 0x02;

// Whether the user turned this executable's Run entry off in Windows: a
// binary value whose first byte is odd. No value, an empty one or one of
// another type is no choice of the user's: the entry counts as enabled.
bool StartupTurnedOffInWindows(RegistryStore& store, std::string_view module_path);

// Marks the entry enabled where Windows marked it turned off (an enabled
// mark with no time, as Windows writes it); no value stays no value. Raises
// as WriteRegistryString does.
void MarkStartupEnabledInWindows(RegistryStore& store, std::string_view module_path);

}  // namespace lumitrax::core
