#pragma once
// Reading and writing the settings record.
#include <span>
#include <string_view>

#include "core/registry_store.h"
#include "core/settings_schema.h"

namespace lumitrax::core {

// Reads the record into `settings`, which holds the controls' current values.
// Only present values are applied; a key or subkey that cannot be opened is
// skipped; the values held by the window itself ("Bounds", "Visible") take
// their defaults when absent. A value of the wrong type or unreadable data
// raises RegistryError and stops: `settings` then holds the values read before.
// A Boolean is true for any non-zero number; integers and colours are the 32
// bits of a REG_DWORD taken as they are.
void LoadSettings(RegistryStore& store, RegistryRoot root, std::string_view key, Settings& settings);

// Writes every value of the record, creating the keys when missing. A write that
// fails raises "Failed to set data for '%s'" and stops, the values before it
// stay written; a main key that cannot be opened fails so at its first value. A
// subkey that cannot be opened or created is skipped and the next one written.
// Values named in `unwritten` are neither written nor deleted: a default that
// is to keep following the system (the grid colour, which follows the
// taskbar's theme until the user picks one) stays out of the registry.
void SaveSettings(RegistryStore& store, RegistryRoot root, std::string_view key, const Settings& settings,
                  std::span<const std::string_view> unwritten = {});

}  // namespace lumitrax::core
