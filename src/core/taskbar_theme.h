#pragma once
// The tray icon's default grid colour follows the taskbar: a dark grid on a
// light taskbar, the light grey on a dark one. Only the default follows it; a
// grid colour in the stored settings is the user's and is read over it.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/color.h"
#include "core/registry_store.h"
#include "core/settings_schema.h"

namespace lumitrax::core {

// Where Windows keeps the taskbar's theme: SystemUsesLightTheme is 1 for a
// light taskbar and 0 (or missing, as on systems without the setting) for a dark one.
inline constexpr std::string_view PersonalizeKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
inline constexpr std::string_view SystemUsesLightThemeName = "SystemUsesLightTheme";

// The default grid on a dark taskbar (and wherever the theme is unknown), and
// on a light one: #383838 stands off the light taskbar (#F3F3F3, #EEEEEE) by
// about 10.6:1 and 10.1:1, as much as the light grey stands off the dark
// taskbar (#202020, 10.6:1).
inline constexpr Color DarkTaskbarGridColor = 0xD0D0D0;
inline constexpr Color LightTaskbarGridColor = 0x383838;

// SystemUsesLightTheme of HKEY_CURRENT_USER: nothing when the key or value is
// missing, cannot be read, or is not a REG_DWORD. Never raises.
std::optional<uint32_t> ReadSystemUsesLightTheme(RegistryStore& store);

// The default grid colour for the taskbar's theme: any non-zero value is the
// light theme.
Color DefaultGridColor(std::optional<uint32_t> systemUsesLightTheme);

// The tray colours the controls hold before the stored settings are read over
// them: before Windows Vista white LEDs on a black grid, whatever the theme;
// otherwise the grid colour of the taskbar's theme and the LED colours as they are.
void UseTrayColorDefaults(Settings& settings, bool olderThanVista, std::optional<uint32_t> systemUsesLightTheme);

// The contrast ratio of two plain colours, from 1 (the same) to 21 (black and
// white), by their relative luminance in sRGB.
double ContrastRatio(Color a, Color b);

}  // namespace lumitrax::core
