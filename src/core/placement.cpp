#include "core/placement.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

namespace lumitrax::core {
namespace {

std::string_view Trim(std::string_view text) {
  // Spaces and control characters: every byte up to and including the space.
  const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

int ToIntOrZero(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) return 0;
  }
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return 0;
  return value;
}

// Rectangle arithmetic in 64 bits: stored positions may hold any 32-bit number.
int Narrow(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(),
                                              std::numeric_limits<int>::max()));
}

struct Size {
  int64_t width;
  int64_t height;
};

Size SizeOf(const Rect& window) {
  return {int64_t{window.right} - window.left, int64_t{window.bottom} - window.top};
}

Rect MovedTo(const Rect& window, int64_t left, int64_t top) {
  const Size size = SizeOf(window);
  return {Narrow(left), Narrow(top), Narrow(left + size.width), Narrow(top + size.height)};
}

// A window of that size at (left, top), moved so that it does not stick out to
// the right or bottom of the work area and its top-left corner is never above or
// left of it.
Rect KeptInWorkArea(int64_t left, int64_t top, Size size, const Rect& workArea) {
  left = std::max<int64_t>(left, workArea.left);
  top = std::max<int64_t>(top, workArea.top);
  if (left + size.width > workArea.right) left = workArea.right - size.width;
  if (top + size.height > workArea.bottom) top = workArea.bottom - size.height;
  left = std::max<int64_t>(left, workArea.left);
  top = std::max<int64_t>(top, workArea.top);
  return {Narrow(left), Narrow(top), Narrow(left + size.width), Narrow(top + size.height)};
}

}  // namespace

std::string RectToStr(const Rect& rect) {
  return std::to_string(rect.left) + ',' + std::to_string(rect.top) + ',' + std::to_string(rect.right) +
         ',' + std::to_string(rect.bottom);
}

Point StrToPoint(std::string_view text) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos) return {};
  return {ToIntOrZero(text.substr(0, comma)), ToIntOrZero(text.substr(comma + 1))};
}

Rect StrToRect(std::string_view text) {
  std::string_view first;
  std::string_view second = text;
  const size_t firstComma = text.find(',');
  if (firstComma != std::string_view::npos) {
    const size_t secondComma = text.find(',', firstComma + 1);
    if (secondComma != std::string_view::npos) {
      first = text.substr(0, secondComma);
      second = text.substr(secondComma + 1);
    }
  }
  const Point topLeft = StrToPoint(first);
  const Point bottomRight = StrToPoint(second);
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

Rect CenterInWorkArea(const Rect& window, const Rect& workArea) {
  const int64_t width = int64_t{window.right} - window.left;
  const int64_t height = int64_t{window.bottom} - window.top;
  const int64_t workWidth = int64_t{workArea.right} - workArea.left;
  const int64_t workHeight = int64_t{workArea.bottom} - workArea.top;
  return MovedTo(window, workArea.left + (workWidth - width) / 2, workArea.top + (workHeight - height) / 2);
}

Rect KeepInWorkArea(const Rect& window, const Rect& workArea) {
  return KeptInWorkArea(window.left, window.top, SizeOf(window), workArea);
}

Rect PlaceFromBounds(std::string_view bounds, const Rect& window, const WorkAreaNear& workAreaNear) {
  // The stored place may lie at the edge of the 32-bit numbers: the window keeps
  // its own size throughout, so a far place never shrinks it.
  const Rect stored = StrToRect(bounds);
  const Size size = SizeOf(window);
  int64_t left = stored.left;
  int64_t top = stored.top;
  if (stored == Rect{}) {
    const Rect centred = CenterInWorkArea(window, workAreaNear(window));
    left = centred.left;
    top = centred.top;
  }
  return KeptInWorkArea(left, top, size, workAreaNear(MovedTo(window, left, top)));
}

Rect BoundsToStore(const std::optional<Rect>& normalPlacement, const Rect& current) {
  if (!normalPlacement) return current;
  const Size size = SizeOf(*normalPlacement);
  return {normalPlacement->left, normalPlacement->top, Narrow(size.width), Narrow(size.height)};
}

}  // namespace lumitrax::core
