// The first-run values, written out one by one: the expected values here are
// deliberately not taken from the settings table, so a wrong default there is
// caught.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/memory_registry.h"
#include "core/settings_schema.h"
#include "core/settings_store.h"

namespace lumitrax::core {
namespace {

constexpr RegistryRoot Root = SettingsRoot;

struct FirstRunValue {
  const char* Subkey;  // "" for the main key
  const char* Name;
  RegistryValue Stored;
};

// The whole record as a first run writes it when its window is first closed, in order.
std::vector<FirstRunValue> FirstRunRecord() {
  const auto dword = RegistryValue::Dword;
  return {
      {"", "Bounds", RegistryValue::Text("0,0,0,0")},
      {"", "Visible", dword(1)},
      {"", "AutoRun", dword(1)},
      {"", "BeepOnSwitch", dword(1)},
      {"", "BeepTones", dword(0)},
      {"", "UsageReports", dword(1)},
      {"", "Language", RegistryValue::Text("")},
      {"TrayIcon", "Led1", dword(1)},
      {"TrayIcon", "Led2", dword(2)},
      {"TrayIcon", "Led3", dword(3)},
      {"TrayIcon", "IconMarks", dword(1)},
      {"TrayIcon", "Color1", dword(0x0000FF)},
      {"TrayIcon", "Color2", dword(0x0000FF)},
      {"TrayIcon", "Color3", dword(0x0000FF)},
      {"TrayIcon", "GridColor", dword(0xD0D0D0)},
      {"OSD", "Show", dword(1)},
      {"OSD", "Led1", dword(0)},
      {"OSD", "Led2", dword(1)},
      {"OSD", "Led3", dword(0)},
      {"OSD", "AutoHide", dword(1)},
      {"OSD", "HideAfter", dword(0)},
      {"OSD", "HideInterval", dword(3)},
      {"OSD", "Opacity", dword(80)},
      {"OSD", "Size", dword(3)},
      {"OSD", "Color1", dword(0x0000FF)},
      {"OSD", "Color2", dword(0xFFFFFF)},
      {"OSD", "Placement", dword(0)},
      {"OSD", "OutOfTheWay", dword(1)},
  };
}

TEST(FirstRunDefaults, EverySettingStartsAtItsStatedValue) {
  const Settings d = DefaultSettings();
  EXPECT_EQ(d.Bounds, "0,0,0,0");
  EXPECT_TRUE(d.Visible);
  EXPECT_TRUE(d.AutoRun);
  EXPECT_TRUE(d.UsageReports) << "the usage reports are on until the user turns them off";
  EXPECT_TRUE(d.BeepOnSwitch);
  EXPECT_EQ(d.TrayLed1, 1);  // Num Lock
  EXPECT_EQ(d.TrayLed2, 2);  // Caps Lock
  EXPECT_EQ(d.TrayLed3, 3);  // Scroll Lock
  EXPECT_TRUE(d.IconMarks);
  EXPECT_EQ(d.TrayColor1, 0x0000FFu);  // red
  EXPECT_EQ(d.TrayColor2, 0x0000FFu);
  EXPECT_EQ(d.TrayColor3, 0x0000FFu);
  EXPECT_EQ(d.GridColor, 0xD0D0D0u);  // light grey
  EXPECT_TRUE(d.OsdShow);
  EXPECT_FALSE(d.OsdLed1);
  EXPECT_TRUE(d.OsdLed2) << "the display reports Caps Lock from the start";
  EXPECT_FALSE(d.OsdLed3);
  EXPECT_TRUE(d.OsdAutoHide);
  EXPECT_FALSE(d.OsdHideAfter);
  EXPECT_EQ(d.OsdHideInterval, 3);
  EXPECT_EQ(d.OsdOpacity, 80);
  EXPECT_EQ(d.OsdSize, 3);            // "[Normal]"
  EXPECT_EQ(d.OsdBody, 0x0000FFu);    // red
  EXPECT_EQ(d.OsdText, 0xFFFFFFu);    // white
  // The "More settings" window: where the user put it, out of the way, the system beep.
  EXPECT_EQ(d.OsdPlacement, 0);
  EXPECT_TRUE(d.OsdOutOfTheWay);
  EXPECT_FALSE(d.BeepTones);
}

TEST(FirstRunDefaults, OldWindowsStartsWithWhiteLedsOnABlackGrid) {
  Settings settings = DefaultSettings();
  UsePreVistaTrayColors(settings);
  EXPECT_EQ(settings.TrayColor1, 0xFFFFFFu);
  EXPECT_EQ(settings.TrayColor2, 0xFFFFFFu);
  EXPECT_EQ(settings.TrayColor3, 0xFFFFFFu);
  EXPECT_EQ(settings.GridColor, 0x000000u);
  EXPECT_EQ(settings.OsdBody, 0x0000FFu) << "the display's colours are not the tray's";
}

TEST(FirstRunDefaults, AnEmptyRegistryReadsAsTheDefaultsAndTheFirstSaveWritesThemInOrder) {
  MemoryRegistry registry;
  Settings settings = DefaultSettings();
  LoadSettings(registry, Root, SettingsKey, settings);  // nothing stored: a first run
  SaveSettings(registry, Root, SettingsKey, settings);

  const std::vector<FirstRunValue> expected = FirstRunRecord();
  const auto record = SettingsRecord();
  ASSERT_EQ(record.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const FirstRunValue& value = expected[i];
    SCOPED_TRACE(std::string(value.Subkey) + "\\" + value.Name);
    EXPECT_EQ(record[i].Subkey, value.Subkey) << "out of order at " << i;
    EXPECT_EQ(record[i].Name, value.Name) << "out of order at " << i;
    const std::string path = *value.Subkey ? SubkeyPath(SettingsKey, value.Subkey) : std::string(SettingsKey);
    const auto stored = registry.Get(Root, path, value.Name);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Type, value.Stored.Type);
    EXPECT_EQ(stored->Data, value.Stored.Data);
  }
  EXPECT_EQ(registry.ValueCount(Root, SettingsKey), 7u);
  EXPECT_EQ(registry.ValueCount(Root, SubkeyPath(SettingsKey, "TrayIcon")), 8u);
  EXPECT_EQ(registry.ValueCount(Root, SubkeyPath(SettingsKey, "OSD")), 13u) << "the display's own position is not part of it";
}

}  // namespace
}  // namespace lumitrax::core
