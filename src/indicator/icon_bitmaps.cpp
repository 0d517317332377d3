#include "indicator/icon_bitmaps.h"

#include <cstring>

#include "core/masked_image.h"

namespace lumitrax {

UniqueBitmap ImageBitmap(const core::PixelBuffer& pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = pixels.Width();
  info.bmiHeader.biHeight = -pixels.Height();  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap && bits) {
    const std::vector<uint32_t> dib = core::DibPixels(pixels);
    std::memcpy(bits, dib.data(), dib.size() * sizeof(uint32_t));
  }
  return bitmap;
}

UniqueBitmap MaskBitmap(const core::PixelBuffer& mask) {
  const std::vector<uint8_t> bits = core::MonochromeBits(mask);
  return UniqueBitmap(::CreateBitmap(mask.Width(), mask.Height(), 1, 1, bits.data()));
}

}  // namespace lumitrax
