#pragma once
// Loading the settings record past damaged values. A value of the wrong type,
// or one whose data cannot be read, would stop loading at that value and leave
// every later setting at its default, and the next save would then write those
// defaults over the user's stored settings. Here a damaged value counts as
// absent (its control keeps its default), every other value is still read,
// and the first failure is handed back for the error box.
#include <optional>
#include <string_view>

#include "core/registry_store.h"
#include "core/settings_schema.h"

namespace lumitrax::core {

// LoadSettings, going on past damaged values; the error the first of them
// raises, or nothing when every present value could be read.
std::optional<RegistryError> LoadSettingsPastDamage(RegistryStore& store, RegistryRoot root, std::string_view key,
                                                    Settings& settings);

}  // namespace lumitrax::core
