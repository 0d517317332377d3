#pragma once
// Window placement: the stored "Bounds" text and keeping a window inside the
// work area of its monitor. Work areas are handed in as rectangles; the caller
// asks the system which monitor is nearest.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/rect.h"

namespace lumitrax::core {

// The four numbers joined by "," without spaces: "10,20,300,200".
std::string RectToStr(const Rect& rect);

// "x,y": the text split at its first comma, each part trimmed of spaces and
// control characters and read as a decimal integer (0 when it is not one).
// Text without a comma gives (0, 0).
Point StrToPoint(std::string_view text);

// "left,top,right,bottom": the text split at its second comma into two halves
// read by StrToPoint. Without a second comma the first half is empty, so
// "100,200" reads as (0, 0, 100, 200).
Rect StrToRect(std::string_view text);

// The window moved to the centre of the work area (halves rounded toward zero).
Rect CenterInWorkArea(const Rect& window, const Rect& workArea);

// The window moved, size unchanged, so that it does not stick out to the right
// or bottom of the work area and its top-left corner is never above or left of it.
Rect KeepInWorkArea(const Rect& window, const Rect& workArea);

// The work area of the monitor nearest to a window rectangle.
using WorkAreaNear = std::function<Rect(const Rect& window)>;

// Where the settings window goes for a stored "Bounds": all four numbers 0 centre
// it in the work area nearest to where it is; otherwise its left and top edges
// move to the first two numbers. Then it is kept inside the work area nearest to
// that new place. The size never changes.
Rect PlaceFromBounds(std::string_view bounds, const Rect& window, const WorkAreaNear& workAreaNear);

// What "Bounds" stores: the normal (restored) placement as left, top, width and
// height when it could be read, else the window's current edges.
Rect BoundsToStore(const std::optional<Rect>& normalPlacement, const Rect& current);

}  // namespace lumitrax::core
