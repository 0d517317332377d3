#pragma once
// Rectangles between the Windows API and the core, and the monitors' work areas.
#include <windows.h>

#include <vector>

#include "core/display_placement.h"
#include "core/rect.h"

namespace lumitrax {

inline core::Rect ToRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// The work area of the monitor nearest to a rectangle (the primary one's when
// no monitor answers).
core::Rect WorkAreaNear(const core::Rect& window);
// The monitor nearest to a rectangle, and a monitor's work area (the primary
// one's when the monitor does not answer).
HMONITOR MonitorNear(const core::Rect& window);
core::Rect WorkAreaOf(HMONITOR monitor);
// Every monitor of the desktop with its work area and DPI, in the system's order.
std::vector<core::MonitorArea> Monitors();

}  // namespace lumitrax
