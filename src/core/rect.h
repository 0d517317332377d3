#pragma once
// Screen and bitmap geometry: a rectangle is left, top, right, bottom with right
// and bottom exclusive, as Windows RECTs are.
namespace lumitrax::core {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace lumitrax::core
