#include "core/pixel_buffer.h"

#include <algorithm>
#include <cstddef>
#include <cassert>
#include <stdexcept>

namespace lumitrax::core {

PixelBuffer::PixelBuffer(int width, int height, Color fill) : width_(width), height_(height) {
  if (width < 0 || height < 0) throw std::invalid_argument("PixelBuffer: negative size");
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
}

Color PixelBuffer::At(int x, int y) const {
  assert(Contains(x, y));
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void PixelBuffer::Set(int x, int y, Color color) {
  assert(Contains(x, y));
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = color;
}

void PixelBuffer::Fill(Color color) { std::fill(pixels_.begin(), pixels_.end(), color); }

void PixelBuffer::FillRect(const Rect& rect, Color color) {
  const int left = std::max(rect.left, 0);
  const int top = std::max(rect.top, 0);
  const int right = std::min(rect.right, width_);
  const int bottom = std::min(rect.bottom, height_);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) Set(x, y, color);
}

}  // namespace lumitrax::core
