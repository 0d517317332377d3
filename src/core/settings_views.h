#pragma once
// What each part of the program takes from the settings: the tray icon's
// drawing settings, the usage ping's report and the display's inputs, all
// derived from the one Settings record the settings window is read into.
#include <array>
#include <string>

#include "core/icon_composer.h"
#include "core/osd_logic.h"
#include "core/ping_query.h"
#include "core/settings_schema.h"

namespace lumitrax::core {

// The colours as stored: system colours are left for the drawing side to resolve.
TrayIconSettings TrayIconSettingsOf(const Settings& settings);
PingSettings PingSettingsOf(const Settings& settings, const std::string& version);
OsdInputs OsdInputsOf(const Settings& settings, const std::array<bool, 3>& lock_states, bool settings_shown);

}  // namespace lumitrax::core
