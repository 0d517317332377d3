#include "core/settings_schema.h"

#include <array>

namespace lumitrax::core {
namespace {

constexpr Color Red = 0x0000FF;
constexpr Color White = 0xFFFFFF;
constexpr Color LightGrey = 0xD0D0D0;

constexpr std::string_view Main = "";
constexpr std::string_view Tray = TrayIconSubkey;
constexpr std::string_view Osd = OsdSubkey;

const std::array<SettingEntry, 28> Record{{
    {Main, "Bounds", StringSetting{&Settings::Bounds, "0,0,0,0"}, "the settings window", true, false},
    {Main, "Visible", BooleanSetting{&Settings::Visible, true}, "FWindowVisible", true, false},
    {Main, "AutoRun", BooleanSetting{&Settings::AutoRun, true}, "chbAutoRun"},
    {Main, "BeepOnSwitch", BooleanSetting{&Settings::BeepOnSwitch, true}, "chbBeepOnSwitch"},
    {Main, "BeepTones", BooleanSetting{&Settings::BeepTones, false}, "chbBeepTones (More settings)"},
    {Main, UsageReportsName, BooleanSetting{&Settings::UsageReports, true}, "chbUsageReports (More settings)", true},
    {Main, "Language", StringSetting{&Settings::Language, ""}, "cmbLanguage (More settings)", true},

    {Tray, "Led1", IntegerSetting{&Settings::TrayLed1, 1}, "cmbLed1.ItemIndex"},
    {Tray, "Led2", IntegerSetting{&Settings::TrayLed2, 2}, "cmbLed2.ItemIndex"},
    {Tray, "Led3", IntegerSetting{&Settings::TrayLed3, 3}, "cmbLed3.ItemIndex"},
    {Tray, "IconMarks", BooleanSetting{&Settings::IconMarks, true}, "chbIconMarks"},
    {Tray, "Color1", ColorSetting{&Settings::TrayColor1, Red}, "cmbColor1.SelectedColor"},
    {Tray, "Color2", ColorSetting{&Settings::TrayColor2, Red}, "cmbColor2.SelectedColor"},
    {Tray, "Color3", ColorSetting{&Settings::TrayColor3, Red}, "cmbColor3.SelectedColor"},
    {Tray, "GridColor", ColorSetting{&Settings::GridColor, LightGrey}, "cmbColorGrid.SelectedColor"},

    {Osd, "Show", BooleanSetting{&Settings::OsdShow, true}, "grpOsd.CheckBoxChecked"},
    {Osd, "Led1", BooleanSetting{&Settings::OsdLed1, false}, "chbOsdLed1"},
    {Osd, "Led2", BooleanSetting{&Settings::OsdLed2, true}, "chbOsdLed2"},
    {Osd, "Led3", BooleanSetting{&Settings::OsdLed3, false}, "chbOsdLed3"},
    {Osd, "AutoHide", BooleanSetting{&Settings::OsdAutoHide, true}, "chbOsdAutoHide"},
    {Osd, "HideAfter", BooleanSetting{&Settings::OsdHideAfter, false}, "chbOsdHideAfter"},
    {Osd, "HideInterval", IntegerSetting{&Settings::OsdHideInterval, 3}, "edOsdHideAfter.Position"},
    {Osd, "Opacity", IntegerSetting{&Settings::OsdOpacity, 80}, "edOsdOpacity.Position"},
    {Osd, "Size", IntegerSetting{&Settings::OsdSize, 3}, "cmbOsdSize.ItemIndex"},
    {Osd, "Color1", ColorSetting{&Settings::OsdBody, Red}, "cmbOsdBody.SelectedColor"},
    {Osd, "Color2", ColorSetting{&Settings::OsdText, White}, "cmbOsdText.SelectedColor"},

    // Held by the "More settings" window.
    {Osd, "Placement", IntegerSetting{&Settings::OsdPlacement, 0}, "cmbOsdPlacement.ItemIndex (More settings)"},
    {Osd, "OutOfTheWay", BooleanSetting{&Settings::OsdOutOfTheWay, true}, "chbOsdOutOfTheWay (More settings)"},
}};

}  // namespace

SettingType SettingEntry::Type() const { return static_cast<SettingType>(Field.index()); }

std::span<const SettingEntry> SettingsRecord() { return Record; }

Settings DefaultSettings() {
  Settings settings;
  for (const SettingEntry& entry : Record)
    std::visit([&](const auto& field) { settings.*field.Member = field.Default; }, entry.Field);
  return settings;
}

OsdPlacementMode OsdPlacementOf(int32_t stored) {
  if (stored < 0 || stored >= OsdPlacementModeCount) return OsdPlacementMode::Stored;
  return static_cast<OsdPlacementMode>(stored);
}

void UsePreVistaTrayColors(Settings& settings) {
  settings.TrayColor1 = settings.TrayColor2 = settings.TrayColor3 = PreVistaLedColor;
  settings.GridColor = PreVistaGridColor;
}

}  // namespace lumitrax::core
