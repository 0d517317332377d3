#include "core/theme_palette.h"

namespace lumitrax::core {
namespace {

// The indexes of the system colour table (GetSysColor's).
constexpr std::size_t kBtnFace = 15, kBtnText = 18, kGrayText = 17, kWindow = 5, kWindowText = 8;
constexpr std::size_t kHighlight = 13, kHighlightText = 14, kHotLight = 26;

constexpr Color Rgb(unsigned red, unsigned green, unsigned blue) { return red | (green << 8) | (blue << 16); }

}  // namespace

ThemeKind ChooseTheme(bool high_contrast, std::optional<uint32_t> apps_use_light_theme) {
  if (high_contrast) return ThemeKind::HighContrast;
  return apps_use_light_theme && *apps_use_light_theme == 0 ? ThemeKind::Dark : ThemeKind::Light;
}

Palette SystemPalette(const SystemColors& system) {
  // The user's colours as they are: Windows' own lists draw with them too,
  // and ours should look the same.
  return {system[kBtnFace],   system[kBtnText],       system[kGrayText], system[kWindow],   system[kWindowText],
          system[kBtnFace],   system[kBtnText],       system[kHighlight], system[kHighlightText],
          system[kHotLight]};
}

Palette DarkPalette() {
  return {
      Rgb(0x20, 0x20, 0x20),  // face
      Rgb(0xFF, 0xFF, 0xFF),  // text
      Rgb(0x8C, 0x8C, 0x8C),  // disabled text
      Rgb(0x2B, 0x2B, 0x2B),  // edit
      Rgb(0xFF, 0xFF, 0xFF),  // edit text
      Rgb(0x3A, 0x3A, 0x3A),  // button
      Rgb(0xFF, 0xFF, 0xFF),  // button text
      Rgb(0x00, 0x67, 0xC0),  // highlight
      Rgb(0xFF, 0xFF, 0xFF),  // highlight text
      Rgb(0x6C, 0xC6, 0xFF),  // link
  };
}

Palette PaletteFor(ThemeKind kind, const SystemColors& system) {
  return kind == ThemeKind::Dark ? DarkPalette() : SystemPalette(system);
}

}  // namespace lumitrax::core
