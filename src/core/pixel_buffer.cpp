#include "core/pixel_buffer.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

namespace lumitrax::core {

PixelBuffer::PixelBuffer(int width, int height, Color fill) : width_(width), height_(height) {
  if (width < 0 || height < 0) throw std::invalid_argument("PixelBuffer: negative size");
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
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
