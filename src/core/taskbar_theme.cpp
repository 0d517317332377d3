#include "core/taskbar_theme.h"

#include <algorithm>
#include <cmath>

namespace lumitrax::core {
namespace {

double Linear(uint32_t channel) {
  const double value = channel / 255.0;
  return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(Color color) {
  return 0.2126 * Linear(color & 0xFF) + 0.7152 * Linear((color >> 8) & 0xFF) + 0.0722 * Linear((color >> 16) & 0xFF);
}

}  // namespace

std::optional<uint32_t> ReadSystemUsesLightTheme(RegistryStore& store) {
  try {
    const auto key = OpenKeyReadOnly(store, HkeyCurrentUser, PersonalizeKey);
    if (!key || !key->ValueExists(SystemUsesLightThemeName)) return std::nullopt;
    return ReadDword(*key, SystemUsesLightThemeName);
  } catch (const RegistryError&) {
    // Another type or unreadable data: the theme is unknown.
    return std::nullopt;
  }
}

Color DefaultGridColor(std::optional<uint32_t> systemUsesLightTheme) {
  return systemUsesLightTheme.value_or(0) != 0 ? LightTaskbarGridColor : DarkTaskbarGridColor;
}

void UseTrayColorDefaults(Settings& settings, bool olderThanVista, std::optional<uint32_t> systemUsesLightTheme) {
  if (olderThanVista) {
    UsePreVistaTrayColors(settings);
    return;
  }
  settings.GridColor = DefaultGridColor(systemUsesLightTheme);
}

double ContrastRatio(Color a, Color b) {
  const double la = RelativeLuminance(PlainColor(a));
  const double lb = RelativeLuminance(PlainColor(b));
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace lumitrax::core
