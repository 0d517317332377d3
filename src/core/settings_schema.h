#pragma once
// The settings record: every setting of the program, the registry value that
// stores it, its type and default, and what holds it at run time. At run time
// the settings window's controls hold the settings; Settings is the plain copy
// that the Windows side fills from and hands back to those controls.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "core/color.h"
#include "core/registry_store.h"

namespace lumitrax::core {

inline constexpr RegistryRoot SettingsRoot = HkeyCurrentUser;  // FRegRoot
inline constexpr std::string_view SettingsKey = "\\Software\\MOVRANIK\\Lumitrax";  // FRegKey
inline constexpr std::string_view TrayIconSubkey = "TrayIcon";
inline constexpr std::string_view OsdSubkey = "OSD";

// Where an administrator's policies and presets live, under HKLM and HKCU: the
// same value names and subkeys as the program's own key.
inline constexpr std::string_view PolicyKey = "\\Software\\Policies\\MOVRANIK\\Lumitrax";
inline constexpr std::string_view UsageReportsName = "UsageReports";

// The on-screen display stores its own position in the "OSD" subkey; it is not
// part of the record that LoadSettings and SaveSettings handle.
inline constexpr std::string_view OsdBoundsName = "Bounds";
inline constexpr std::string_view OsdBoundsDefault = "1000000, 1000000, 0, 0";

struct Settings {
  // Main key.
  std::string Bounds;           // the settings window's position
  bool Visible = false;         // FWindowVisible
  bool AutoRun = false;         // chbAutoRun
  bool BeepOnSwitch = false;    // chbBeepOnSwitch
  bool UsageReports = false;    // "Send anonymous usage reports" in "More settings"
  // "TrayIcon".
  int32_t TrayLed1 = 0;         // cmbLed1.ItemIndex
  int32_t TrayLed2 = 0;         // cmbLed2.ItemIndex
  int32_t TrayLed3 = 0;         // cmbLed3.ItemIndex
  bool IconMarks = false;       // chbIconMarks
  Color TrayColor1 = 0;         // cmbColor1.SelectedColor
  Color TrayColor2 = 0;         // cmbColor2.SelectedColor
  Color TrayColor3 = 0;         // cmbColor3.SelectedColor
  Color GridColor = 0;          // cmbColorGrid.SelectedColor
  // "OSD".
  bool OsdShow = false;         // grpOsd.CheckBoxChecked
  bool OsdLed1 = false;         // chbOsdLed1
  bool OsdLed2 = false;         // chbOsdLed2
  bool OsdLed3 = false;         // chbOsdLed3
  bool OsdAutoHide = false;     // chbOsdAutoHide
  bool OsdHideAfter = false;    // chbOsdHideAfter
  int32_t OsdHideInterval = 0;  // edOsdHideAfter.Position
  int32_t OsdOpacity = 0;       // edOsdOpacity.Position
  int32_t OsdSize = 0;          // cmbOsdSize.ItemIndex
  Color OsdBody = 0;            // cmbOsdBody.SelectedColor
  Color OsdText = 0;            // cmbOsdText.SelectedColor
  // The "More settings" window.
  int32_t OsdPlacement = 0;     // cmbOsdPlacement.ItemIndex (OsdPlacementMode)
  bool OsdOutOfTheWay = false;  // chbOsdOutOfTheWay
  bool BeepTones = false;       // chbBeepTones
  std::string Language;         // cmbLanguage: empty for the Windows default, else a language's code

  friend bool operator==(const Settings&, const Settings&) = default;
};

// Where the display shows, in the order of its list in the "More settings" window.
enum class OsdPlacementMode : int32_t { Stored, MouseMonitor, ActiveMonitor, EveryMonitor };
inline constexpr int32_t OsdPlacementModeCount = 4;
// A stored mode that is no mode (a damaged or future value) is the stored place.
OsdPlacementMode OsdPlacementOf(int32_t stored);

// In the order of the alternatives of SettingEntry::Field.
enum class SettingType { Boolean, Integer, Colour, String };

struct BooleanSetting {
  bool Settings::*Member;
  bool Default;
};
struct IntegerSetting {
  int32_t Settings::*Member;
  int32_t Default;
};
struct ColorSetting {
  Color Settings::*Member;
  Color Default;
};
struct StringSetting {
  std::string Settings::*Member;
  std::string_view Default;
};

struct SettingEntry {
  std::string_view Subkey;  // empty for the main key
  std::string_view Name;    // the registry value name
  std::variant<BooleanSetting, IntegerSetting, ColorSetting, StringSetting> Field;
  std::string_view HeldBy;  // the control (or window field) that holds it at run time
  // Held by the main window itself rather than a control: loading sets the
  // default first, so an absent value means the default, not the current state.
  bool HeldByWindow = false;
  // An administrator may preset it under the policy key (AdminPresets).
  bool Presettable = true;

  SettingType Type() const;
};

// The record in the order in which the values are written and read.
std::span<const SettingEntry> SettingsRecord();

// Every setting at its default: the state of the controls when the window is created.
Settings DefaultSettings();

// Before Windows Vista the tray icon starts with white LEDs on a black grid.
inline constexpr Color PreVistaLedColor = 0xFFFFFF;
inline constexpr Color PreVistaGridColor = 0x000000;
void UsePreVistaTrayColors(Settings& settings);

}  // namespace lumitrax::core
