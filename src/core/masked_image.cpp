#include "core/masked_image.h"

#include <cstddef>

namespace lumitrax::core {

MaskedImage MaskByColor(const PixelBuffer& bitmap, Color maskColor) {
  MaskedImage result{PixelBuffer(bitmap.Width(), bitmap.Height()),
                     PixelBuffer(bitmap.Width(), bitmap.Height(), MaskOpaque)};
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const Color color = bitmap.At(x, y);
      if (color == maskColor)
        result.Mask.Set(x, y, MaskTransparent);
      else
        result.Image.Set(x, y, color);
    }
  }
  return result;
}

void DrawMasked(PixelBuffer& canvas, const MaskedImage& image, Point origin) {
  for (int y = 0; y < image.Image.Height(); ++y) {
    for (int x = 0; x < image.Image.Width(); ++x) {
      if (!image.IsOpaque(x, y)) continue;
      const int cx = origin.x + x;
      const int cy = origin.y + y;
      if (canvas.Contains(cx, cy)) canvas.Set(cx, cy, image.Image.At(x, y));
    }
  }
}

std::vector<uint8_t> MonochromeBits(const PixelBuffer& mask) {
  const size_t stride = (static_cast<size_t>(mask.Width()) + 15) / 16 * 2;
  std::vector<uint8_t> bits(stride * static_cast<size_t>(mask.Height()), 0);
  for (int y = 0; y < mask.Height(); ++y) {
    for (int x = 0; x < mask.Width(); ++x) {
      if (mask.At(x, y) == MaskOpaque) continue;
      bits[static_cast<size_t>(y) * stride + static_cast<size_t>(x) / 8] |=
          static_cast<uint8_t>(0x80u >> (x % 8));
    }
  }
  return bits;
}

std::vector<uint32_t> DibPixels(const PixelBuffer& bitmap) {
  std::vector<uint32_t> pixels;
  pixels.reserve(bitmap.Pixels().size());
  for (Color color : bitmap.Pixels()) {
    const uint32_t red = color & 0xFFu;
    const uint32_t green = (color >> 8) & 0xFFu;
    const uint32_t blue = (color >> 16) & 0xFFu;
    pixels.push_back(red << 16 | green << 8 | blue);
  }
  return pixels;
}

}  // namespace lumitrax::core
