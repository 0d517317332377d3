#include "core/taskbar_theme.h"

#include <gtest/gtest.h>

#include "core/icon_composer.h"
#include "core/memory_registry.h"
#include "core/settings_recovery.h"
#include "core/settings_store.h"

namespace lumitrax::core {
namespace {

const std::string Tray = SubkeyPath(SettingsKey, TrayIconSubkey);

MemoryRegistry WithTheme(std::optional<RegistryValue> value) {
  MemoryRegistry registry;
  registry.AddKey(HkeyCurrentUser, PersonalizeKey);
  if (value) registry.Set(HkeyCurrentUser, PersonalizeKey, SystemUsesLightThemeName, *value);
  return registry;
}

TEST(TaskbarTheme, ReadsTheDwordAndNothingWhenMissingOrUnreadable) {
  auto light = WithTheme(RegistryValue::Dword(1));
  EXPECT_EQ(ReadSystemUsesLightTheme(light), 1u);
  auto dark = WithTheme(RegistryValue::Dword(0));
  EXPECT_EQ(ReadSystemUsesLightTheme(dark), 0u);
  auto noValue = WithTheme(std::nullopt);
  EXPECT_EQ(ReadSystemUsesLightTheme(noValue), std::nullopt);
  MemoryRegistry noKey;
  EXPECT_EQ(ReadSystemUsesLightTheme(noKey), std::nullopt);
  auto text = WithTheme(RegistryValue::Text("1"));
  EXPECT_EQ(ReadSystemUsesLightTheme(text), std::nullopt);
  auto unreadable = WithTheme(RegistryValue::Dword(1));
  unreadable.FailReading(HkeyCurrentUser, PersonalizeKey, SystemUsesLightThemeName);
  EXPECT_EQ(ReadSystemUsesLightTheme(unreadable), std::nullopt);
  auto queryOnly = WithTheme(RegistryValue::Dword(1));
  queryOnly.DenyAccess(HkeyCurrentUser, PersonalizeKey, KeyAccess::Read);
  EXPECT_EQ(ReadSystemUsesLightTheme(queryOnly), 1u) << "a key that grants less than full read access is still read";
}

TEST(TaskbarTheme, LightThemeGetsTheDarkGridAndDarkOrUnknownTheLightGrey) {
  EXPECT_EQ(DefaultGridColor(1u), LightTaskbarGridColor);
  EXPECT_EQ(DefaultGridColor(0u), 0xD0D0D0u);
  EXPECT_EQ(DefaultGridColor(std::nullopt), 0xD0D0D0u);
  EXPECT_EQ(DefaultGridColor(2u), LightTaskbarGridColor) << "any non-zero value is true";
}

TEST(TaskbarTheme, EachDefaultStandsOffItsTaskbarAsFarAsTheOtherDoes) {
  EXPECT_NEAR(ContrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(0x777777, 0x777777), 1.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(0xFFFFFF, 0x777777), ContrastRatio(0x777777, 0xFFFFFF), 1e-9);
  // Red carries less luminance than green: the channels are weighed, not averaged.
  EXPECT_LT(ContrastRatio(0x0000FF, 0x000000), ContrastRatio(0x00FF00, 0x000000));
  const double onLight = ContrastRatio(LightTaskbarGridColor, 0xF3F3F3);
  const double onLighterGrey = ContrastRatio(LightTaskbarGridColor, 0xEEEEEE);
  const double greyOnDark = ContrastRatio(DarkTaskbarGridColor, 0x202020);
  EXPECT_GE(onLighterGrey, 7.0);  // enhanced contrast even for one-pixel lines
  EXPECT_NEAR(onLight, greyOnDark, 0.25);
  EXPECT_LT(ContrastRatio(DarkTaskbarGridColor, 0xF3F3F3), 1.5) << "the reason for the theme's own default";
  // The dark grid must never be taken for the icon's transparent colours.
  EXPECT_NE(LightTaskbarGridColor, DefaultTransparentColor);
  EXPECT_NE(LightTaskbarGridColor, AlternateTransparentColor);
}

// What start-up does: the defaults first, then the stored settings read over them.
Settings LoadedOver(MemoryRegistry& registry, bool olderThanVista, std::optional<uint32_t> theme) {
  Settings settings = DefaultSettings();
  UseTrayColorDefaults(settings, olderThanVista, theme);
  LoadSettingsPastDamage(registry, SettingsRoot, SettingsKey, settings);
  return settings;
}

TEST(TaskbarTheme, AStoredGridColourIsNeverChangedOnlyTheMissingOne) {
  for (Color stored : {Color{0xD0D0D0}, Color{0x00FF00}, Color{0x383838}, Color{0xFF000005}}) {
    for (std::optional<uint32_t> theme : {std::optional<uint32_t>{1u}, std::optional<uint32_t>{0u},
                                          std::optional<uint32_t>{}}) {
      MemoryRegistry registry;
      registry.Set(SettingsRoot, Tray, "GridColor", RegistryValue::Dword(stored));
      EXPECT_EQ(LoadedOver(registry, false, theme).GridColor, stored) << std::hex << stored;
      EXPECT_EQ(LoadedOver(registry, true, theme).GridColor, stored) << std::hex << stored;
    }
  }

  MemoryRegistry otherTrayValues;
  otherTrayValues.Set(SettingsRoot, Tray, "Color1", RegistryValue::Dword(0x00FF00));
  const Settings light = LoadedOver(otherTrayValues, false, 1u);
  EXPECT_EQ(light.GridColor, LightTaskbarGridColor);
  EXPECT_EQ(light.TrayColor1, 0x00FF00u);
  EXPECT_EQ(light.TrayColor2, DefaultSettings().TrayColor2) << "only the grid follows the theme";
  EXPECT_EQ(LoadedOver(otherTrayValues, false, 0u).GridColor, 0xD0D0D0u);
  EXPECT_EQ(LoadedOver(otherTrayValues, false, std::nullopt).GridColor, 0xD0D0D0u);

  // A damaged grid colour is not the user's choice: the theme's default stays.
  MemoryRegistry damaged;
  damaged.Set(SettingsRoot, Tray, "GridColor", RegistryValue::Text("dark"));
  EXPECT_EQ(LoadedOver(damaged, false, 1u).GridColor, LightTaskbarGridColor);
}

TEST(TaskbarTheme, BeforeVistaTheOldDefaultsStandWhateverTheTheme) {
  MemoryRegistry empty;
  for (std::optional<uint32_t> theme : {std::optional<uint32_t>{1u}, std::optional<uint32_t>{}}) {
    const Settings settings = LoadedOver(empty, true, theme);
    EXPECT_EQ(settings.GridColor, PreVistaGridColor);
    EXPECT_EQ(settings.TrayColor1, PreVistaLedColor);
    EXPECT_EQ(settings.TrayColor3, PreVistaLedColor);
  }
}

}  // namespace
}  // namespace lumitrax::core
