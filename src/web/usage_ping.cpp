// The main window's usage pings and its periodic minute tick.
#include "app/form_main.h"
#include "indicator/keyboard_hook.h"

namespace lumitrax {

void TfrmMain::tmrMinutesTimer() {
  // A hook that Windows dropped silently comes back at the latest here.
  RemoveKeyboardHook();
  InstallKeyboardHook(Handle());
  TrimWorkingSet();
}

bool TfrmMain::SendPing(const std::wstring& /*action*/, const std::wstring& /*extra*/, bool /*force*/) {
  // The usage ping is wired to the product site with its own change.
  return false;
}

}  // namespace lumitrax
