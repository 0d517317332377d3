#include "core/admin_policy.h"

#include <gtest/gtest.h>

#include <string>

#include "core/memory_registry.h"
#include "core/settings_recovery.h"
#include "core/settings_store.h"

namespace lumitrax::core {
namespace {

constexpr RegistryRoot Hklm = HkeyLocalMachine;
constexpr RegistryRoot Hkcu = HkeyCurrentUser;
const std::string PolicyTray = SubkeyPath(PolicyKey, TrayIconSubkey);
const std::string PolicyOsd = SubkeyPath(PolicyKey, OsdSubkey);

void SetSwitch(MemoryRegistry& registry, RegistryRoot root, RegistryValue value) {
  registry.Set(root, PolicyKey, DisableUsageReportsName, std::move(value));
}

TEST(UsageReportsPolicy, OneInEitherRootTurnsTheReportsOffHklmDeciding) {
  MemoryRegistry registry;
  EXPECT_FALSE(UsageReportsDisabledByPolicy(registry)) << "no policy";
  SetSwitch(registry, Hkcu, RegistryValue::Dword(1));
  EXPECT_TRUE(UsageReportsDisabledByPolicy(registry)) << "HKCU alone";
  SetSwitch(registry, Hklm, RegistryValue::Dword(0));
  EXPECT_FALSE(UsageReportsDisabledByPolicy(registry)) << "HKLM's 0 comes first";
  SetSwitch(registry, Hklm, RegistryValue::Dword(1));
  SetSwitch(registry, Hkcu, RegistryValue::Dword(0));
  EXPECT_TRUE(UsageReportsDisabledByPolicy(registry)) << "HKLM's 1 comes first";
}

TEST(UsageReportsPolicy, ABrokenValueIsIgnoredAndTheNextRootAsked) {
  for (const RegistryValue& broken :
       {RegistryValue::Text("1"), RegistryValue::Dword(2), RegistryValue{RegistryType::Binary, std::string(8, '\1')},
        RegistryValue{RegistryType::Dword, std::string("\1\0\0\0\0", 5)}}) {
    MemoryRegistry registry;
    SetSwitch(registry, Hklm, broken);
    EXPECT_FALSE(UsageReportsDisabledByPolicy(registry)) << "reports stay on";
    SetSwitch(registry, Hkcu, RegistryValue::Dword(1));
    EXPECT_TRUE(UsageReportsDisabledByPolicy(registry)) << "HKCU still counts";
  }
  MemoryRegistry registry;
  SetSwitch(registry, Hklm, RegistryValue::Dword(1));
  registry.FailReading(Hklm, PolicyKey, DisableUsageReportsName);
  EXPECT_FALSE(UsageReportsDisabledByPolicy(registry)) << "unreadable";
}

TEST(AdminPresets, EveryPresettableSettingOfTheRecordIsTakenFromItsSubkey) {
  MemoryRegistry registry;
  registry.Set(Hklm, PolicyKey, "AutoRun", RegistryValue::Dword(0));
  registry.Set(Hklm, PolicyKey, UsageReportsName, RegistryValue::Dword(0));
  registry.Set(Hklm, PolicyTray, "Led1", RegistryValue::Dword(0));
  registry.Set(Hklm, PolicyTray, "GridColor", RegistryValue::Dword(0x00FF00));
  registry.Set(Hkcu, PolicyOsd, "Show", RegistryValue::Dword(0));
  registry.Set(Hkcu, PolicyOsd, "Opacity", RegistryValue::Dword(40));
  Settings settings = DefaultSettings();
  const auto taken = ApplyAdminPresets(registry, SettingsRoot, SettingsKey, settings);
  EXPECT_EQ(taken.size(), 6u);
  Settings expected = DefaultSettings();
  expected.AutoRun = false;
  expected.UsageReports = false;
  expected.TrayLed1 = 0;
  expected.GridColor = 0x00FF00;
  expected.OsdShow = false;
  expected.OsdOpacity = 40;
  EXPECT_EQ(settings, expected);
}

TEST(AdminPresets, AStoredValueOfTheUserWinsAndHklmComesBeforeHkcu) {
  MemoryRegistry registry;
  registry.Set(SettingsRoot, SettingsKey, "AutoRun", RegistryValue::Dword(1));
  registry.Set(Hklm, PolicyKey, "AutoRun", RegistryValue::Dword(0));
  registry.Set(Hklm, PolicyKey, "BeepOnSwitch", RegistryValue::Dword(0));
  registry.Set(Hkcu, PolicyKey, "BeepOnSwitch", RegistryValue::Dword(1));
  Settings settings = DefaultSettings();
  settings.BeepOnSwitch = true;
  LoadSettingsPastDamage(registry, SettingsRoot, SettingsKey, settings);
  const auto taken = ApplyAdminPresets(registry, SettingsRoot, SettingsKey, settings);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0]->Name, "BeepOnSwitch");
  EXPECT_TRUE(settings.AutoRun);
  EXPECT_FALSE(settings.BeepOnSwitch);
}

TEST(AdminPresets, BrokenPresetsAndTheWindowsOwnPlaceAreIgnored) {
  MemoryRegistry registry;
  registry.Set(Hklm, PolicyKey, "AutoRun", RegistryValue::Text("0"));
  registry.Set(Hkcu, PolicyKey, "AutoRun", RegistryValue{RegistryType::Qword, std::string(8, '\0')});
  registry.Set(Hklm, PolicyTray, "Color1", RegistryValue::Dword(0x123456));
  registry.FailReading(Hklm, PolicyTray, "Color1");
  registry.Set(Hklm, PolicyKey, "Bounds", RegistryValue::Text("1,2,3,4"));
  registry.Set(Hklm, PolicyKey, "Visible", RegistryValue::Dword(0));
  Settings settings = DefaultSettings();
  EXPECT_TRUE(ApplyAdminPresets(registry, SettingsRoot, SettingsKey, settings).empty());
  EXPECT_EQ(settings, DefaultSettings());
}

TEST(AdminPresets, APresetTakenOnceIsStoredAndAfterwardsTheUsersToChange) {
  MemoryRegistry registry;
  registry.Set(Hklm, PolicyOsd, "Size", RegistryValue::Dword(1));
  Settings first = DefaultSettings();
  ApplyAdminPresets(registry, SettingsRoot, SettingsKey, first);
  EXPECT_EQ(first.OsdSize, 1);
  first.OsdSize = 2;  // the user's change
  SaveSettings(registry, SettingsRoot, SettingsKey, first);
  Settings second = DefaultSettings();
  LoadSettingsPastDamage(registry, SettingsRoot, SettingsKey, second);
  EXPECT_TRUE(ApplyAdminPresets(registry, SettingsRoot, SettingsKey, second).empty());
  EXPECT_EQ(second.OsdSize, 2);
}

}  // namespace
}  // namespace lumitrax::core
