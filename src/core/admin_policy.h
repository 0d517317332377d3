#pragma once
// What an administrator sets for everyone under the policy key, in HKLM and
// in HKCU (HKLM first): the switch that turns the usage reports off, and the
// presets a user's first start takes in place of the program's defaults.
// Policy values that are broken (another type, unreadable, out of range) are
// ignored, as a damaged setting is.
#include <string_view>
#include <vector>

#include "core/registry_store.h"
#include "core/settings_schema.h"

namespace lumitrax::core {

inline constexpr std::string_view DisableUsageReportsName = "DisableUsageReports";

// Whether "DisableUsageReports" = 1 turns the usage reports off. The first
// valid value decides: HKLM's, else HKCU's. 0 leaves them to the user; any
// other number or type counts as absent.
bool UsageReportsDisabledByPolicy(RegistryStore& store);

// Takes the administrator's presets into `settings` for every presettable
// setting that the user has no stored value for under `root`\`key`. A preset
// of the wrong type or with unreadable data is ignored. The names of the
// settings taken, as entries of the record.
std::vector<const SettingEntry*> ApplyAdminPresets(RegistryStore& store, RegistryRoot root, std::string_view key,
                                                   Settings& settings);

}  // namespace lumitrax::core
