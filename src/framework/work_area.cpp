#include "framework/work_area.h"

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

}  // namespace lumitrax
