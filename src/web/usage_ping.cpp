// The main window's usage pings: what they carry, when they go, and the
// periodic minute tick that also keeps the keyboard hook alive.
#include <windows.h>

#include "app/form_main.h"
#include "framework/application.h"
#include "framework/text.h"
#include "framework/version_info.h"
#include "indicator/keyboard_hook.h"
#include "web/ping_notify.h"

namespace lumitrax {
namespace {

core::DateTime LocalNow() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return core::EncodeDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                              now.wMilliseconds);
}

}  // namespace

core::PingSettings TfrmMain::CurrentPingSettings() {
  core::PingSettings settings;
  settings.Version = Narrow(GetFileVersionString(GetModulePath()));
  settings.AutoRun = chbAutoRun.Checked();
  settings.BeepOnSwitch = chbBeepOnSwitch.Checked();
  settings.LedLocks = {cmbLed1.ItemIndex(), cmbLed2.ItemIndex(), cmbLed3.ItemIndex()};
  settings.LedColors = {cmbColor1.SelectedColor(), cmbColor2.SelectedColor(), cmbColor3.SelectedColor()};
  settings.IconMarks = chbIconMarks.Checked();
  settings.GridColor = cmbColorGrid.SelectedColor();
  settings.OsdEnabled = grpOsd.CheckBoxChecked();
  settings.OsdLocks = {chbOsdLed1.Checked(), chbOsdLed2.Checked(), chbOsdLed3.Checked()};
  settings.OsdAutoHide = chbOsdAutoHide.Checked();
  settings.OsdHideAfter = chbOsdHideAfter.Checked();
  settings.OsdHideInterval = edOsdHideAfter.Position();
  settings.OsdSize = cmbOsdSize.ItemIndex();
  settings.OsdBodyColor = cmbOsdBody.SelectedColor();
  settings.OsdTextColor = cmbOsdText.SelectedColor();
  settings.OsdOpacity = edOsdOpacity.Position();
  return settings;
}

bool TfrmMain::SendPing(const std::wstring& action, const std::wstring& extra, bool force) {
  // No ping while the session ends, before the start ping, or once the
  // program is quitting; none within 30 minutes of the last unless forced.
  if (!PingState.PassGates(LocalNow(), Application().Terminated(), force)) return false;
  const std::string query = core::BuildPingQuery(CurrentPingSettings(), Narrow(extra));
  // Everything that goes to the network fails silently.
  if (TPingNotify* ping = PingNotify()) ping->TryPing(Narrow(action), query);
  return true;
}

void TfrmMain::tmrMinutesTimer() {
  if (const auto call = PingState.MinutesTick(LocalNow(), RandomBelow()))
    SendPing(Widen(call->Action), Widen(call->Extra), call->Force);
  // A hook that Windows dropped silently comes back at the latest here.
  RemoveKeyboardHook();
  InstallKeyboardHook(Handle());
  TrimWorkingSet();
}

}  // namespace lumitrax
