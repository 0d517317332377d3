#include "core/display_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/placement.h"

namespace lumitrax::core {
namespace {

int64_t Overlap(const Rect& a, const Rect& b) {
  const int64_t width = std::max(0, std::min(a.right, b.right) - std::max(a.left, b.left));
  const int64_t height = std::max(0, std::min(a.bottom, b.bottom) - std::max(a.top, b.top));
  return width * height;
}

// The squared distance from a point to a rectangle (0 inside it).
int64_t DistanceSquared(const Rect& rect, const Point& point) {
  const int64_t dx = point.x < rect.left ? rect.left - point.x : point.x >= rect.right ? point.x - rect.right + 1 : 0;
  const int64_t dy = point.y < rect.top ? rect.top - point.y : point.y >= rect.bottom ? point.y - rect.bottom + 1 : 0;
  return dx * dx + dy * dy;
}

int Scale(int value, int from_dpi, int to_dpi) {
  if (from_dpi <= 0 || to_dpi <= 0) return value;
  // Rounded to the nearest pixel, halves away from zero.
  const int64_t scaled = static_cast<int64_t>(value) * to_dpi;
  return static_cast<int>((scaled >= 0 ? scaled + from_dpi / 2 : scaled - from_dpi / 2) / from_dpi);
}

}  // namespace

size_t MonitorOfPoint(std::span<const MonitorArea> monitors, const Point& point) {
  size_t best = 0;
  int64_t best_distance = std::numeric_limits<int64_t>::max();
  for (size_t i = 0; i < monitors.size(); ++i) {
    const int64_t distance = DistanceSquared(monitors[i].Monitor, point);
    if (distance < best_distance) {
      best = i;
      best_distance = distance;
    }
  }
  return best;
}

size_t MonitorOfRect(std::span<const MonitorArea> monitors, const Rect& rect) {
  size_t best = 0;
  int64_t best_overlap = 0;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const int64_t overlap = Overlap(monitors[i].Monitor, rect);
    if (overlap > best_overlap) {
      best = i;
      best_overlap = overlap;
    }
  }
  if (best_overlap > 0) return best;
  return MonitorOfPoint(monitors, {rect.left + rect.Width() / 2, rect.top + rect.Height() / 2});
}

DisplayAnchor AnchorOf(const Rect& window, const MonitorArea& monitor) {
  const Rect& work = monitor.Work;
  DisplayAnchor anchor;
  // Twice the centres, so that odd sizes compare exactly.
  anchor.Right = window.left + window.right > work.left + work.right;
  anchor.Bottom = window.top + window.bottom > work.top + work.bottom;
  const int margin_x = anchor.Right ? work.right - window.right : window.left - work.left;
  const int margin_y = anchor.Bottom ? work.bottom - window.bottom : window.top - work.top;
  // A window partly outside the work area is at its edge.
  anchor.MarginX = std::max(0, margin_x);
  anchor.MarginY = std::max(0, margin_y);
  anchor.Dpi = monitor.Dpi;
  return anchor;
}

Rect PlaceAtAnchor(const DisplayAnchor& anchor, const MonitorArea& monitor, int width, int height) {
  const Rect& work = monitor.Work;
  const int margin_x = Scale(anchor.MarginX, anchor.Dpi, monitor.Dpi);
  const int margin_y = Scale(anchor.MarginY, anchor.Dpi, monitor.Dpi);
  const int left = anchor.Right ? work.right - margin_x - width : work.left + margin_x;
  const int top = anchor.Bottom ? work.bottom - margin_y - height : work.top + margin_y;
  return KeepInWorkArea({left, top, left + width, top + height}, work);
}

std::vector<size_t> DisplayMonitors(OsdPlacementMode mode, std::span<const MonitorArea> monitors,
                                    const Rect& storedPlace, const std::optional<Point>& pointer,
                                    const std::optional<Rect>& activeWindow) {
  if (monitors.empty()) return {};
  const size_t stored = MonitorOfRect(monitors, storedPlace);
  switch (mode) {
    case OsdPlacementMode::MouseMonitor:
      return {pointer ? MonitorOfPoint(monitors, *pointer) : stored};
    case OsdPlacementMode::ActiveMonitor:
      return {activeWindow ? MonitorOfRect(monitors, *activeWindow) : stored};
    case OsdPlacementMode::EveryMonitor: {
      // The stored place's monitor first: the display the user drags is there.
      std::vector<size_t> all{stored};
      for (size_t i = 0; i < monitors.size(); ++i)
        if (i != stored) all.push_back(i);
      return all;
    }
    case OsdPlacementMode::Stored:
    default:
      return {stored};
  }
}

}  // namespace lumitrax::core
