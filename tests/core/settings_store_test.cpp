#include "core/settings_store.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "core/memory_registry.h"

namespace lumitrax::core {
namespace {

constexpr RegistryRoot Root = SettingsRoot;
const std::string Tray = SubkeyPath(SettingsKey, "TrayIcon");
const std::string Osd = SubkeyPath(SettingsKey, "OSD");

// What the controls hold when the window is created; FWindowVisible starts false.
Settings Controls() {
  Settings settings = DefaultSettings();
  settings.Visible = false;
  settings.Bounds.clear();
  return settings;
}

Settings Unusual() {
  Settings s;
  s.Bounds = "-1200,40,640,480";
  s.Visible = false;
  s.AutoRun = false;
  s.BeepOnSwitch = true;
  s.TrayLed1 = -1;
  s.TrayLed2 = 0;
  s.TrayLed3 = 2;
  s.IconMarks = false;
  s.TrayColor1 = 0xFF00FF;
  s.TrayColor2 = 0xFFFFFFFF;
  s.TrayColor3 = 0x1FFFFFFF;
  s.GridColor = 0xFF00000F;
  s.OsdShow = false;
  s.OsdLed1 = true;
  s.OsdLed2 = false;
  s.OsdLed3 = true;
  s.OsdAutoHide = false;
  s.OsdHideAfter = true;
  s.OsdHideInterval = 60;
  s.OsdOpacity = -5;
  s.OsdSize = 6;
  s.OsdBody = 0x123456;
  s.OsdText = 0;
  return s;
}

template <typename F>
std::string ErrorText(F&& action) {
  try {
    action();
  } catch (const RegistryError& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(SettingsRecord, ListsEveryValueInWritingOrderWithItsType) {
  std::vector<std::string> names;
  std::string types;
  for (const SettingEntry& entry : SettingsRecord()) {
    names.push_back(std::string(entry.Subkey) + "/" + std::string(entry.Name));
    types += "bicS"[static_cast<int>(entry.Type())];
  }
  EXPECT_EQ(names, (std::vector<std::string>{
                       "/Bounds", "/Visible", "/AutoRun", "/BeepOnSwitch", "/BeepTones", "/UsageReports", "/Language", "TrayIcon/Led1", "TrayIcon/Led2",
                       "TrayIcon/Led3", "TrayIcon/IconMarks", "TrayIcon/Color1", "TrayIcon/Color2",
                       "TrayIcon/Color3", "TrayIcon/GridColor", "OSD/Show", "OSD/Led1", "OSD/Led2", "OSD/Led3",
                       "OSD/AutoHide", "OSD/HideAfter", "OSD/HideInterval", "OSD/Opacity", "OSD/Size",
                       "OSD/Color1", "OSD/Color2", "OSD/Placement", "OSD/OutOfTheWay"}));
  EXPECT_EQ(types, "SbbbbbSiiibccccbbbbbbiiiccib");
}

TEST(SettingsRecord, EveryFieldHasItsOwnEntry) {
  // Each entry writes a distinct field: changing one field changes exactly one stored value.
  MemoryRegistry before;
  SaveSettings(before, Root, SettingsKey, DefaultSettings());
  for (const SettingEntry& entry : SettingsRecord()) {
    Settings changed = DefaultSettings();
    std::visit(
        [&](const auto& field) {
          using T = std::decay_t<decltype(changed.*field.Member)>;
          if constexpr (std::is_same_v<T, std::string>)
            changed.*field.Member += "9";
          else if constexpr (std::is_same_v<T, bool>)
            changed.*field.Member = !field.Default;
          else
            changed.*field.Member = static_cast<T>(field.Default + 1);
        },
        entry.Field);
    MemoryRegistry after;
    SaveSettings(after, Root, SettingsKey, changed);
    int differences = 0;
    for (const SettingEntry& other : SettingsRecord()) {
      const std::string path = other.Subkey.empty() ? std::string(SettingsKey) : SubkeyPath(SettingsKey, other.Subkey);
      if (before.Get(Root, path, other.Name) != after.Get(Root, path, other.Name)) ++differences;
    }
    EXPECT_EQ(differences, 1) << entry.Subkey << "/" << entry.Name;
  }
}

TEST(LoadSettings, NoKeyKeepsTheControlsAndShowsTheWindowCentred) {
  MemoryRegistry registry;
  Settings settings = Controls();
  UsePreVistaTrayColors(settings);
  Settings expected = settings;
  expected.Visible = true;
  expected.Bounds = "0,0,0,0";
  LoadSettings(registry, Root, SettingsKey, settings);
  EXPECT_EQ(settings, expected);
  EXPECT_FALSE(registry.KeyExists(Root, SettingsKey));
}

TEST(SettingsStore, WhatIsSavedLoadsBackUnchanged) {
  MemoryRegistry registry;
  SaveSettings(registry, Root, SettingsKey, Unusual());
  Settings loaded = Controls();
  LoadSettings(registry, Root, SettingsKey, loaded);
  EXPECT_EQ(loaded, Unusual());
}

TEST(SaveSettings, WritesEveryValueAsDwordOrStringAndLeavesTheOsdPositionAlone) {
  MemoryRegistry registry;
  registry.Set(Root, Osd, "Bounds", RegistryValue::Text("5,6,0,0"));
  registry.Set(Root, Osd, "Led1", RegistryValue::Text("stale"));
  SaveSettings(registry, Root, SettingsKey, Unusual());
  EXPECT_EQ(registry.ValueCount(Root, SettingsKey), 7u);
  EXPECT_EQ(registry.ValueCount(Root, Tray), 8u);
  EXPECT_EQ(registry.ValueCount(Root, Osd), 14u);
  EXPECT_EQ(registry.Get(Root, Osd, "Bounds"), RegistryValue::Text("5,6,0,0"));
  EXPECT_EQ(registry.Get(Root, Osd, "Led1"), RegistryValue::Dword(1));
  EXPECT_EQ(registry.Get(Root, Osd, "Led2"), RegistryValue::Dword(0));
  EXPECT_EQ(registry.Get(Root, SettingsKey, "Bounds"), RegistryValue::Text("-1200,40,640,480"));
  EXPECT_EQ(registry.Get(Root, SettingsKey, "Visible"), RegistryValue::Dword(0));
  EXPECT_EQ(registry.Get(Root, Tray, "Led1"), RegistryValue::Dword(0xFFFFFFFF));
  EXPECT_EQ(registry.Get(Root, Tray, "Color2"), RegistryValue::Dword(0xFFFFFFFF));
  EXPECT_EQ(registry.Get(Root, Osd, "Opacity"), RegistryValue::Dword(0xFFFFFFFB));
}

TEST(SaveSettings, LeavesAnUnwrittenValueAsItIsWhetherAbsentOrStored) {
  const std::string_view grid[] = {"GridColor"};
  MemoryRegistry fresh;
  SaveSettings(fresh, Root, SettingsKey, Unusual(), grid);
  EXPECT_EQ(fresh.ValueCount(Root, Tray), 7u);
  EXPECT_FALSE(fresh.Get(Root, Tray, "GridColor")) << "not written";
  EXPECT_EQ(fresh.Get(Root, Tray, "Color3"), RegistryValue::Dword(0x1FFFFFFF)) << "the rest is";
  // A stored value is neither overwritten nor deleted.
  MemoryRegistry stored;
  stored.Set(Root, Tray, "GridColor", RegistryValue::Dword(0x00FF00));
  SaveSettings(stored, Root, SettingsKey, Unusual(), grid);
  EXPECT_EQ(stored.Get(Root, Tray, "GridColor"), RegistryValue::Dword(0x00FF00));
}

TEST(LoadSettings, AnyNonZeroNumberIsTrueAndNumbersAreSigned) {
  MemoryRegistry registry;
  registry.Set(Root, SettingsKey, "AutoRun", RegistryValue::Dword(0x80000000));
  registry.Set(Root, SettingsKey, "BeepOnSwitch", RegistryValue::Dword(0));
  registry.Set(Root, Osd, "Led1", RegistryValue::Dword(2));
  registry.Set(Root, Tray, "Led1", RegistryValue::Dword(7));
  registry.Set(Root, Tray, "Led2", RegistryValue::Dword(0xFFFFFFFF));
  Settings settings = Controls();
  LoadSettings(registry, Root, SettingsKey, settings);
  EXPECT_TRUE(settings.AutoRun);
  EXPECT_FALSE(settings.BeepOnSwitch);
  EXPECT_TRUE(settings.OsdLed1);
  EXPECT_EQ(settings.TrayLed1, 7);  // handed over as it is; the list then shows no selection
  EXPECT_EQ(settings.TrayLed2, -1);
  EXPECT_EQ(settings.TrayLed3, 3);
}

TEST(LoadSettings, OnlyTheOsdSubkeyPresentKeepsEverythingElse) {
  MemoryRegistry registry;
  registry.Set(Root, Osd, "Bounds", RegistryValue::Text("10,10,0,0"));
  Settings settings = Controls();
  UsePreVistaTrayColors(settings);
  Settings expected = settings;
  expected.Visible = true;
  expected.Bounds = "0,0,0,0";
  LoadSettings(registry, Root, SettingsKey, settings);
  EXPECT_EQ(settings, expected);
}

TEST(LoadSettings, VisibleZeroKeepsTheWindowHiddenAndSavesZeroAgain) {
  MemoryRegistry registry;
  registry.Set(Root, SettingsKey, "Visible", RegistryValue::Dword(0));
  Settings settings = Controls();
  settings.Visible = true;
  LoadSettings(registry, Root, SettingsKey, settings);
  EXPECT_FALSE(settings.Visible);
  SaveSettings(registry, Root, SettingsKey, settings);
  EXPECT_EQ(registry.Get(Root, SettingsKey, "Visible"), RegistryValue::Dword(0));
}

TEST(LoadSettings, AWrongTypeStopsLoadingAndKeepsWhatWasReadBefore) {
  MemoryRegistry registry;
  SaveSettings(registry, Root, SettingsKey, Unusual());
  registry.Set(Root, Tray, "Led2", RegistryValue::Text("2"));
  Settings settings = Controls();
  EXPECT_EQ(ErrorText([&] { LoadSettings(registry, Root, SettingsKey, settings); }),
            "Invalid data type for 'Led2'");
  EXPECT_EQ(settings.Bounds, Unusual().Bounds);
  EXPECT_EQ(settings.TrayLed1, -1);
  EXPECT_EQ(settings.TrayLed2, 2);  // unchanged from the controls
  EXPECT_EQ(settings.TrayLed3, 3);
  EXPECT_TRUE(settings.OsdShow);
}

TEST(LoadSettings, DataThatDoesNotFitFourBytesOrCannotBeReadFails) {
  MemoryRegistry registry;
  registry.Set(Root, Osd, "Opacity", {RegistryType::Dword, std::string(8, '\x01')});
  Settings settings = Controls();
  EXPECT_EQ(ErrorText([&] { LoadSettings(registry, Root, SettingsKey, settings); }),
            "Failed to get data for 'Opacity'");

  MemoryRegistry broken;
  broken.Set(Root, SettingsKey, "AutoRun", RegistryValue::Dword(0));
  broken.FailReading(Root, SettingsKey, "AutoRun");
  EXPECT_EQ(ErrorText([&] { LoadSettings(broken, Root, SettingsKey, settings); }),
            "Failed to get data for 'AutoRun'");
}

TEST(LoadSettings, BoundsOfAnotherTypeFailsBeforeTheWindowFieldsAreSet) {
  MemoryRegistry registry;
  registry.Set(Root, SettingsKey, "Bounds", RegistryValue::Dword(0));
  registry.Set(Root, SettingsKey, "Visible", RegistryValue::Dword(1));
  Settings settings = Controls();
  EXPECT_EQ(ErrorText([&] { LoadSettings(registry, Root, SettingsKey, settings); }),
            "Invalid data type for 'Bounds'");
  EXPECT_FALSE(settings.Visible);
}

TEST(LoadSettings, ASubkeyThatCannotBeOpenedIsSkippedAsAWhole) {
  MemoryRegistry registry;
  SaveSettings(registry, Root, SettingsKey, Unusual());
  registry.Set(Root, Tray, "Led1", RegistryValue::Text("damaged"));
  for (KeyAccess access : {KeyAccess::Read, KeyAccess::QueryAndEnumerate, KeyAccess::Query})
    registry.DenyAccess(Root, Tray, access);
  registry.DenyAccess(Root, Osd, KeyAccess::Read);  // still readable with smaller rights
  Settings settings = Controls();
  LoadSettings(registry, Root, SettingsKey, settings);
  Settings expected = Unusual();
  for (const SettingEntry& entry : SettingsRecord())
    if (entry.Subkey == "TrayIcon")
      std::visit([&](const auto& field) { expected.*field.Member = Controls().*field.Member; }, entry.Field);
  EXPECT_EQ(settings, expected);
}

TEST(SaveSettings, AMainKeyThatCannotBeCreatedFailsAtBounds) {
  MemoryRegistry registry;
  registry.FailCreating(Root, SettingsKey);
  EXPECT_EQ(ErrorText([&] { SaveSettings(registry, Root, SettingsKey, Unusual()); }),
            "Failed to set data for 'Bounds'");
  EXPECT_EQ(registry.ValueCount(Root, Tray), 0u);
}

TEST(SaveSettings, ASubkeyThatCannotBeCreatedIsSkippedAndTheNextWritten) {
  MemoryRegistry registry;
  registry.FailCreating(Root, Tray);
  SaveSettings(registry, Root, SettingsKey, Unusual());
  EXPECT_FALSE(registry.KeyExists(Root, Tray));
  EXPECT_EQ(registry.ValueCount(Root, SettingsKey), 7u);
  EXPECT_EQ(registry.ValueCount(Root, Osd), 13u);
}

TEST(SaveSettings, AFailedWriteStopsAndKeepsTheValuesWrittenBefore) {
  MemoryRegistry registry;
  registry.FailWriting(Root, Tray, "Color2");
  EXPECT_EQ(ErrorText([&] { SaveSettings(registry, Root, SettingsKey, Unusual()); }),
            "Failed to set data for 'Color2'");
  EXPECT_TRUE(registry.Get(Root, Tray, "Color1"));
  EXPECT_FALSE(registry.Get(Root, Tray, "Color3"));
  EXPECT_FALSE(registry.KeyExists(Root, Osd));
}

}  // namespace
}  // namespace lumitrax::core
