// The main window's settings in the registry.
#include <windows.h>

#include "app/form_main.h"

namespace lumitrax {

void TfrmMain::LoadSettings() {
  // With nothing stored the window opens at the centre of the work area.
  const HWND window = Handle();
  RECT frame{};
  ::GetWindowRect(window, &frame);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  ::SetWindowPos(window, nullptr, info.rcWork.left + (info.rcWork.right - info.rcWork.left - width) / 2,
                 info.rcWork.top + (info.rcWork.bottom - info.rcWork.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FWindowVisible = true;
  Show();
}

void TfrmMain::SaveSettings() {}

}  // namespace lumitrax
