#pragma once
// Where the on-screen display shows when it follows the user: on the monitor
// with the mouse pointer, with the active window, or on every monitor. It
// keeps the corner and margin of its stored place, taken relative to the work
// area of the stored place's monitor and scaled to each monitor's DPI, so
// that a display dragged to the bottom-right corner of one monitor shows
// bottom-right on another, at that monitor's scale. Monitors are handed in.
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "core/rect.h"
#include "core/settings_schema.h"

namespace lumitrax::core {

struct MonitorArea {
  Rect Monitor;  // the whole monitor
  Rect Work;     // without the taskbar and docked bars
  int Dpi = 96;
  friend bool operator==(const MonitorArea&, const MonitorArea&) = default;
};

// The monitor a rectangle is on: the one it overlaps most; when it overlaps
// none, the nearest one. 0 for an empty list.
size_t MonitorOfRect(std::span<const MonitorArea> monitors, const Rect& rect);
// The monitor a point is on, else the nearest one.
size_t MonitorOfPoint(std::span<const MonitorArea> monitors, const Point& point);

// A corner of a work area and the distance from it, in pixels at `Dpi` (the
// scale of the monitor it was taken on, so that the same monitor gets it back
// to the pixel).
struct DisplayAnchor {
  bool Right = false;
  bool Bottom = false;
  int MarginX = 0;
  int MarginY = 0;
  int Dpi = 96;
  friend bool operator==(const DisplayAnchor&, const DisplayAnchor&) = default;
};

// The corner nearest to the window on its monitor (the side its centre leans
// to; a centred window counts as left or top), and its margin from there.
DisplayAnchor AnchorOf(const Rect& window, const MonitorArea& monitor);

// The window of `size` (pixels at the monitor's DPI) at the anchor on that
// monitor, kept inside its work area.
Rect PlaceAtAnchor(const DisplayAnchor& anchor, const MonitorArea& monitor, int width, int height);

// The monitors the display shows on for a mode, in the order of the list;
// the first is the one the stored display goes to. The stored place's monitor
// stands in where the pointer or the active window is not known.
std::vector<size_t> DisplayMonitors(OsdPlacementMode mode, std::span<const MonitorArea> monitors,
                                    const Rect& storedPlace, const std::optional<Point>& pointer,
                                    const std::optional<Rect>& activeWindow);

}  // namespace lumitrax::core
