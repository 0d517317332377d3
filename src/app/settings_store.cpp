// The main window's settings: the one reading of the controls, and the
// registry, read into the controls once at start and written back from them
// when the window is closed to the tray and when the program ends.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "app/form_main.h"
#include "framework/win_registry.h"
#include "core/admin_policy.h"
#include "core/placement.h"
#include "core/settings_recovery.h"
#include "core/settings_store.h"
#include "core/settings_views.h"
#include "core/taskbar_theme.h"
#include "core/windows_version.h"
#include "framework/scope_exit.h"
#include "framework/text.h"
#include "framework/work_area.h"

namespace lumitrax {
namespace {

// The spin edits keep 16-bit positions; their own limits apply after this.
int16_t ToSpinPosition(int32_t value) {
  return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

// The version as Windows reports it to the program. Before Windows 8.1 that
// is the real one; later systems may report 6.2 to programs they do not know,
// which is still "Vista or later".
core::WindowsVersion RunningWindowsVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!::GetVersionExW(&info)) return {};
  return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

}  // namespace

void TfrmMain::UseWindowsVersionDefaults() {
  // Before the stored settings are read over them: they count as defaults.
  core::Settings settings = CurrentSettings();
  TWinRegistry registry;
  core::UseTrayColorDefaults(settings, core::OlderThanVista(RunningWindowsVersion()),
                             core::ReadSystemUsesLightTheme(registry));
  // The grid's custom entry shows the default.
  cmbColorGrid.SetCustomColor(settings.GridColor);
  SettingsToControls(settings);
}

void TfrmMain::FollowTaskbarTheme() {
  // Only a default follows the theme; a colour the user chose stays.
  if (FGridColorChosen || core::OlderThanVista(RunningWindowsVersion())) return;
  TWinRegistry registry;
  const core::Color grid = core::DefaultGridColor(core::ReadSystemUsesLightTheme(registry));
  if (grid == cmbColorGrid.SelectedColor()) return;
  cmbColorGrid.SetCustomColor(grid);
  core::Settings settings = CurrentSettings();
  settings.GridColor = grid;
  SettingsToControls(settings);
}

bool TfrmMain::GridColorStored() {
  TWinRegistry registry;
  try {
    const auto key = core::OpenKeyReadOnly(registry, RootOf(FRegRoot),
                                           core::SubkeyPath(Narrow(FRegKey), core::TrayIconSubkey));
    return key && key->ValueExists("GridColor");
  } catch (const core::RegistryError&) {
    return false;
  }
}

core::Settings TfrmMain::CurrentSettings() {
  // The window's place ("Bounds") is read where it is stored: SaveSettings.
  core::Settings s;
  s.Visible = FWindowVisible;
  s.AutoRun = chbAutoRun.Checked();
  s.BeepOnSwitch = chbBeepOnSwitch.Checked();
  s.UsageReports = UsagePing.UsageReports;
  s.TrayLed1 = cmbLed1.ItemIndex();
  s.TrayLed2 = cmbLed2.ItemIndex();
  s.TrayLed3 = cmbLed3.ItemIndex();
  s.IconMarks = chbIconMarks.Checked();
  s.TrayColor1 = cmbColor1.SelectedColor();
  s.TrayColor2 = cmbColor2.SelectedColor();
  s.TrayColor3 = cmbColor3.SelectedColor();
  s.GridColor = cmbColorGrid.SelectedColor();
  s.OsdShow = grpOsd.CheckBoxChecked();
  s.OsdLed1 = chbOsdLed1.Checked();
  s.OsdLed2 = chbOsdLed2.Checked();
  s.OsdLed3 = chbOsdLed3.Checked();
  s.OsdAutoHide = chbOsdAutoHide.Checked();
  s.OsdHideAfter = chbOsdHideAfter.Checked();
  s.OsdHideInterval = edOsdHideAfter.Position();
  s.OsdOpacity = edOsdOpacity.Position();
  s.OsdSize = cmbOsdSize.ItemIndex();
  s.OsdBody = cmbOsdBody.SelectedColor();
  s.OsdText = cmbOsdText.SelectedColor();
  s.OsdPlacement = frmMoreSettings.cmbOsdPlacement.ItemIndex();
  s.OsdOutOfTheWay = frmMoreSettings.chbOsdOutOfTheWay.Checked();
  s.BeepTones = frmMoreSettings.chbBeepTones.Checked();
  s.Language = FLanguage;
  return s;
}

void TfrmMain::SettingsToControls(const core::Settings& s) {
  // A control given the value it already holds does not change, so values
  // that were not stored leave their controls as they are. What is set here
  // is no choice of the user's.
  const bool outer = FSettingControls;
  FSettingControls = true;
  const ScopeExit restore([&] { FSettingControls = outer; });
  // The language first: the lists are filled anew in it. This window was
  // made in the Windows default already; "More settings", made before the
  // language was chosen, takes its texts and its language list once.
  if (s.Language != FLanguage) {
    FLanguageApplied = true;
    ApplyLanguage(s.Language);
  } else if (!FLanguageApplied) {
    FLanguageApplied = true;
    frmMoreSettings.ApplyTexts(FLanguage);
  }
  chbAutoRun.SetChecked(s.AutoRun);
  chbBeepOnSwitch.SetChecked(s.BeepOnSwitch);
  UsagePing.UsageReports = s.UsageReports;
  cmbLed1.SetItemIndex(s.TrayLed1);
  cmbLed2.SetItemIndex(s.TrayLed2);
  cmbLed3.SetItemIndex(s.TrayLed3);
  chbIconMarks.SetChecked(s.IconMarks);
  cmbColor1.SetSelectedColor(s.TrayColor1);
  cmbColor2.SetSelectedColor(s.TrayColor2);
  cmbColor3.SetSelectedColor(s.TrayColor3);
  cmbColorGrid.SetSelectedColor(s.GridColor);
  grpOsd.SetCheckBoxChecked(s.OsdShow);
  chbOsdLed1.SetChecked(s.OsdLed1);
  chbOsdLed2.SetChecked(s.OsdLed2);
  chbOsdLed3.SetChecked(s.OsdLed3);
  chbOsdAutoHide.SetChecked(s.OsdAutoHide);
  chbOsdHideAfter.SetChecked(s.OsdHideAfter);
  edOsdHideAfter.SetPosition(ToSpinPosition(s.OsdHideInterval));
  edOsdOpacity.SetPosition(ToSpinPosition(s.OsdOpacity));
  cmbOsdSize.SetItemIndex(s.OsdSize);
  cmbOsdBody.SetSelectedColor(s.OsdBody);
  cmbOsdText.SetSelectedColor(s.OsdText);
  // A stored place that is no entry of the list is the user's own place.
  frmMoreSettings.cmbOsdPlacement.SetItemIndex(static_cast<int>(core::OsdPlacementOf(s.OsdPlacement)));
  frmMoreSettings.chbOsdOutOfTheWay.SetChecked(s.OsdOutOfTheWay);
  frmMoreSettings.chbBeepTones.SetChecked(s.BeepTones);
  ShowUsageReports();
}

std::string TfrmMain::StoredBounds() {
  const HWND window = Handle();
  RECT current{};
  ::GetWindowRect(window, &current);
  std::optional<core::Rect> normal;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (::GetWindowPlacement(window, &placement)) {
    // The normal position is relative to the work area of the window's
    // monitor; stored, it is a screen position like the one it is read back as.
    RECT screen = placement.rcNormalPosition;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
      ::OffsetRect(&screen, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
    normal = ToRect(screen);
  }
  return core::RectToStr(core::BoundsToStore(normal, ToRect(current)));
}

void TfrmMain::LoadSettings() {
  core::Settings settings = CurrentSettings();
  settings.Bounds = StoredBounds();
  TWinRegistry registry;
  // Damaged values keep their defaults and the rest is still read, so that
  // the next save does not write defaults over the user's other settings.
  const auto error = core::LoadSettingsPastDamage(registry, RootOf(FRegRoot), Narrow(FRegKey), settings);
  // Where the user has stored nothing, an administrator's preset stands in
  // for the default; the first save stores it as the user's own.
  for (const core::SettingEntry* taken : core::ApplyAdminPresets(registry, RootOf(FRegRoot), Narrow(FRegKey), settings))
    if (taken->Name == "GridColor") FGridColorChosen = true;
  // A stored grid colour is the user's: it is written back, whatever it is.
  if (GridColorStored()) FGridColorChosen = true;

  const HWND window = Handle();
  RECT frame{};
  ::GetWindowRect(window, &frame);
  const core::Rect placed = core::PlaceFromBounds(settings.Bounds, ToRect(frame), WorkAreaNear);
  ::SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FWindowVisible = settings.Visible;
  SetVisible(FWindowVisible);

  SettingsToControls(settings);
  AdoptCustomColors();
  TrayIndicator.UpdateTransparentColor(TrayIconSettingsNow());
  if (error) throw *error;
}

void TfrmMain::SaveSettings() {
  // Before the stored settings are read the controls hold only defaults: a
  // close that comes so early (the session ends during start-up) must not
  // write them over the user's.
  if (FSettingsPending) return;
  TWinRegistry registry;
  core::Settings settings = CurrentSettings();
  settings.Bounds = StoredBounds();
  // A grid colour nobody chose stays unwritten, so that it keeps following
  // the taskbar's theme.
  static constexpr std::string_view grid[] = {"GridColor"};
  core::SaveSettings(registry, RootOf(FRegRoot), Narrow(FRegKey), settings,
                     FGridColorChosen ? std::span<const std::string_view>{} : std::span<const std::string_view>(grid));
}

}  // namespace lumitrax
