#pragma once
// An image as an image list stores it: the colour pixels and a mask of the same
// size, black where the image is opaque and white where it is transparent. The
// transparent pixels of the colour image are black, so that the pair draws
// correctly both through the mask and as an icon (AND mask, XOR image).
#include <cstdint>
#include <vector>

#include "core/pixel_buffer.h"

namespace lumitrax::core {

inline constexpr Color MaskOpaque = 0x000000;
inline constexpr Color MaskTransparent = 0xFFFFFF;

struct MaskedImage {
  PixelBuffer Image;
  PixelBuffer Mask;

  bool IsOpaque(int x, int y) const { return Mask.At(x, y) == MaskOpaque; }
  friend bool operator==(const MaskedImage&, const MaskedImage&) = default;
};

// Every pixel of exactly `maskColor` becomes transparent, every other pixel stays
// opaque with its colour (what adding a bitmap "masked by a colour" does).
MaskedImage MaskByColor(const PixelBuffer& bitmap, Color maskColor);

// Copies the opaque pixels of `image` onto `canvas` with the image's upper-left
// corner at `origin`; pixels that fall outside the canvas are dropped.
void DrawMasked(PixelBuffer& canvas, const MaskedImage& image, Point origin);

// The mask as a 1-bit-per-pixel bitmap for CreateBitmap: rows top to bottom,
// each padded to a whole number of 16-bit words, most significant bit first,
// a set bit for a transparent (white) pixel.
std::vector<uint8_t> MonochromeBits(const PixelBuffer& mask);

// The colours as the pixels of a 32-bit top-down DIB: 0x00RRGGBB, that is the
// bytes blue, green, red, 0 in memory.
std::vector<uint32_t> DibPixels(const PixelBuffer& bitmap);

}  // namespace lumitrax::core
