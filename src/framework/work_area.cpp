#include "framework/work_area.h"

#include "framework/os_functions.h"

namespace lumitrax {

core::Rect WorkAreaNear(const core::Rect& window) { return WorkAreaOf(MonitorNear(window)); }

HMONITOR MonitorNear(const core::Rect& window) {
  const RECT rect{window.left, window.top, window.right, window.bottom};
  return ::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
}

core::Rect WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (monitor && ::GetMonitorInfoW(monitor, &info)) return ToRect(info.rcWork);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return ToRect(work);
}

std::vector<core::MonitorArea> Monitors() {
  std::vector<core::MonitorArea> monitors;
  ::EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM list) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (::GetMonitorInfoW(monitor, &info))
          reinterpret_cast<std::vector<core::MonitorArea>*>(list)->push_back(
              {ToRect(info.rcMonitor), ToRect(info.rcWork), static_cast<int>(os::DpiForMonitor(monitor))});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

}  // namespace lumitrax
