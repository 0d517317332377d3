#include "core/settings_views.h"

namespace lumitrax::core {

TrayIconSettings TrayIconSettingsOf(const Settings& s) {
  TrayIconSettings tray;
  tray.LedLocks = {s.TrayLed1, s.TrayLed2, s.TrayLed3};
  tray.LedColors = {s.TrayColor1, s.TrayColor2, s.TrayColor3};
  tray.GridColor = s.GridColor;
  tray.IconMarks = s.IconMarks;
  return tray;
}

PingSettings PingSettingsOf(const Settings& s, const std::string& version) {
  PingSettings ping;
  ping.Version = version;
  ping.AutoRun = s.AutoRun;
  ping.BeepOnSwitch = s.BeepOnSwitch;
  ping.LedLocks = {s.TrayLed1, s.TrayLed2, s.TrayLed3};
  ping.LedColors = {s.TrayColor1, s.TrayColor2, s.TrayColor3};
  ping.IconMarks = s.IconMarks;
  ping.GridColor = s.GridColor;
  ping.OsdEnabled = s.OsdShow;
  ping.OsdLocks = {s.OsdLed1, s.OsdLed2, s.OsdLed3};
  ping.OsdAutoHide = s.OsdAutoHide;
  ping.OsdHideAfter = s.OsdHideAfter;
  ping.OsdHideInterval = s.OsdHideInterval;
  ping.OsdSize = s.OsdSize;
  ping.OsdBodyColor = s.OsdBody;
  ping.OsdTextColor = s.OsdText;
  ping.OsdOpacity = s.OsdOpacity;
  return ping;
}

OsdInputs OsdInputsOf(const Settings& s, const std::array<bool, 3>& lock_states, bool settings_shown) {
  OsdInputs inputs;
  inputs.Enabled = s.OsdShow;
  inputs.ShowLock = {s.OsdLed1, s.OsdLed2, s.OsdLed3};
  inputs.AutoHide = s.OsdAutoHide;
  inputs.LockStates = lock_states;
  inputs.SettingsShown = settings_shown;
  return inputs;
}

}  // namespace lumitrax::core
