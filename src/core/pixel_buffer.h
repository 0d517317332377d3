#pragma once
// A small bitmap with no operating-system types: width x height colours, rows
// top to bottom, each pixel a plain 0x00BBGGRR colour as GDI reads and writes them.
#include <cassert>
#include <cstddef>
#include <vector>

#include "core/color.h"
#include "core/rect.h"

namespace lumitrax::core {

class PixelBuffer {
 public:
  PixelBuffer() = default;
  PixelBuffer(int width, int height, Color fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Pixel access; x and y must lie inside the buffer. Inline: the tray icon is
  // drawn pixel by pixel on every lock change.
  Color At(int x, int y) const {
    assert(Contains(x, y));
    return pixels_[Index(x, y)];
  }
  void Set(int x, int y, Color color) {
    assert(Contains(x, y));
    pixels_[Index(x, y)] = color;
  }

  // The pixels row by row, top row first.
  const std::vector<Color>& Pixels() const { return pixels_; }

  void Fill(Color color);
  // Fills the part of the rectangle that lies inside the buffer, as FillRect does.
  void FillRect(const Rect& rect, Color color);

  friend bool operator==(const PixelBuffer&, const PixelBuffer&) = default;

 private:
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }
  int width_ = 0;
  int height_ = 0;
  std::vector<Color> pixels_;
};

}  // namespace lumitrax::core
