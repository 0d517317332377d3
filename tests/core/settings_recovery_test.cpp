#include "core/settings_recovery.h"

#include <gtest/gtest.h>

#include <string>

#include "core/memory_registry.h"
#include "core/settings_store.h"

namespace lumitrax::core {
namespace {

constexpr RegistryRoot Root = SettingsRoot;
const std::string Tray = SubkeyPath(SettingsKey, "TrayIcon");
const std::string Osd = SubkeyPath(SettingsKey, "OSD");

// A whole stored record that differs from the defaults in every value.
Settings Stored() {
  Settings s = DefaultSettings();
  s.Bounds = "10,20,300,400";
  s.Visible = false;
  s.AutoRun = false;
  s.BeepOnSwitch = false;
  s.TrayLed1 = 3;
  s.TrayColor3 = 0x00FF00;
  s.GridColor = 0xFFFFFFFF;
  s.OsdShow = false;
  s.OsdHideInterval = -4;
  s.OsdOpacity = 55;
  s.OsdText = 0x123456;
  return s;
}

TEST(SettingsRecovery, AnUndamagedRecordLoadsAsTheStoreLoadsIt) {
  MemoryRegistry registry;
  SaveSettings(registry, Root, SettingsKey, Stored());
  Settings settings = DefaultSettings();
  EXPECT_FALSE(LoadSettingsPastDamage(registry, Root, SettingsKey, settings));
  EXPECT_EQ(settings, Stored());
}

TEST(SettingsRecovery, AWrongTypeKeepsItsDefaultAndEveryLaterValueIsStillRead) {
  MemoryRegistry registry;
  SaveSettings(registry, Root, SettingsKey, Stored());
  registry.Set(Root, SettingsKey, "Visible", RegistryValue::Text("yes"));
  registry.Set(Root, Tray, "Led2", RegistryValue::Text("2"));
  Settings settings = DefaultSettings();
  const auto error = LoadSettingsPastDamage(registry, Root, SettingsKey, settings);
  ASSERT_TRUE(error);
  // The first damaged value is the one reported.
  EXPECT_STREQ(error->what(), "Invalid data type for 'Visible'");
  Settings expected = Stored();
  expected.Visible = true;                              // absent means shown
  expected.TrayLed2 = DefaultSettings().TrayLed2;       // the control's own state
  EXPECT_EQ(settings, expected);
}

TEST(SettingsRecovery, OversizedOrUnreadableDataAndAStringForBoundsAreReportedToo) {
  MemoryRegistry registry;
  SaveSettings(registry, Root, SettingsKey, Stored());
  registry.Set(Root, Osd, "Opacity", RegistryValue{RegistryType::Binary, std::string(8, '\1')});
  Settings settings = DefaultSettings();
  auto error = LoadSettingsPastDamage(registry, Root, SettingsKey, settings);
  ASSERT_TRUE(error);
  EXPECT_STREQ(error->what(), "Invalid data type for 'Opacity'");
  EXPECT_EQ(settings.OsdOpacity, DefaultSettings().OsdOpacity);
  EXPECT_EQ(settings.OsdText, Stored().OsdText);

  registry.Set(Root, Osd, "Opacity", RegistryValue{RegistryType::Dword, std::string(8, '\1')});
  registry.Set(Root, SettingsKey, "Bounds", RegistryValue::Dword(5));
  registry.FailReading(Root, Tray, "Color3");
  settings = DefaultSettings();
  error = LoadSettingsPastDamage(registry, Root, SettingsKey, settings);
  ASSERT_TRUE(error);
  EXPECT_STREQ(error->what(), "Invalid data type for 'Bounds'");
  EXPECT_EQ(settings.Bounds, "0,0,0,0");
  EXPECT_EQ(settings.TrayColor3, DefaultSettings().TrayColor3);
  EXPECT_EQ(settings.OsdOpacity, DefaultSettings().OsdOpacity);
  EXPECT_EQ(settings.GridColor, Stored().GridColor);
  EXPECT_EQ(settings.OsdText, Stored().OsdText);
}

TEST(SettingsRecovery, ASaveAfterADamagedLoadKeepsTheUsersOtherSettings) {
  MemoryRegistry registry;
  SaveSettings(registry, Root, SettingsKey, Stored());
  registry.Set(Root, SettingsKey, "AutoRun", RegistryValue::Text("0"));
  Settings settings = DefaultSettings();
  ASSERT_TRUE(LoadSettingsPastDamage(registry, Root, SettingsKey, settings));
  SaveSettings(registry, Root, SettingsKey, settings);
  Settings reloaded = DefaultSettings();
  EXPECT_FALSE(LoadSettingsPastDamage(registry, Root, SettingsKey, reloaded));
  Settings expected = Stored();
  expected.AutoRun = DefaultSettings().AutoRun;
  EXPECT_EQ(reloaded, expected);
}

}  // namespace
}  // namespace lumitrax::core
