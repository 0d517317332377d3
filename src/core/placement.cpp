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

Rect MovedTo(const Rect& window, int64_t left, int64_t top) {
  const int64_t width = int64_t{window.right} - window.left;
  const int64_t height = int64_t{window.bottom} - window.top;
  return {Narrow(left), Narrow(top), Narrow(left + width), Narrow(top + height)};
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
  const int64_t width = int64_t{window.right} - window.left;
  const int64_t height = int64_t{window.bottom} - window.top;
  int64_t left = std::max<int64_t>(window.left, workArea.left);
  int64_t top = std::max<int64_t>(window.top, workArea.top);
  if (left + width > workArea.right) left = workArea.right - width;
  if (top + height > workArea.bottom) top = workArea.bottom - height;
  left = std::max<int64_t>(left, workArea.left);
  top = std::max<int64_t>(top, workArea.top);
  return MovedTo(window, left, top);
}

Rect PlaceFromBounds(std::string_view bounds, const Rect& window, const WorkAreaNear& workAreaNear) {
  const Rect stored = StrToRect(bounds);
  const Rect placed = stored == Rect{} ? CenterInWorkArea(window, workAreaNear(window))
                                       : MovedTo(window, stored.left, stored.top);
  return KeepInWorkArea(placed, workAreaNear(placed));
}

Rect BoundsToStore(const std::optional<Rect>& normalPlacement, const Rect& current) {
  if (!normalPlacement) return current;
  return {normalPlacement->left, normalPlacement->top, normalPlacement->Width(), normalPlacement->Height()};
}

}  // namespace lumitrax::core
