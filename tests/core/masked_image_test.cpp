#include "core/masked_image.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

TEST(PixelBuffer, FillRectIsClippedAndRightBottomExclusive) {
  PixelBuffer canvas(4, 3, 7);
  canvas.FillRect({-2, 1, 2, 9}, 5);
  EXPECT_EQ(canvas.Pixels(), (std::vector<Color>{7, 7, 7, 7, 5, 5, 7, 7, 5, 5, 7, 7}));
  canvas.FillRect({3, 0, 3, 3}, 1);  // empty
  canvas.FillRect({5, 0, 9, 3}, 1);  // outside
  EXPECT_EQ(canvas.At(3, 0), 7u);
}

TEST(MaskedImage, MasksExactlyTheMaskColourAndDrawsOnlyOpaquePixelsClipped) {
  PixelBuffer bitmap(3, 2, 0xFF00FF);
  bitmap.Set(0, 0, 0x112233);
  bitmap.Set(2, 1, 0xFF00FE);
  const MaskedImage image = MaskByColor(bitmap, 0xFF00FF);
  EXPECT_EQ(image.Mask.Pixels(),
            (std::vector<Color>{MaskOpaque, MaskTransparent, MaskTransparent, MaskTransparent,
                                MaskTransparent, MaskOpaque}));
  EXPECT_EQ(image.Image.Pixels(), (std::vector<Color>{0x112233, 0, 0, 0, 0, 0xFF00FE}));

  PixelBuffer canvas(2, 2, 9);
  DrawMasked(canvas, image, {-1, 0});
  EXPECT_EQ(canvas.Pixels(), (std::vector<Color>{9, 9, 9, 0xFF00FE}));
}

TEST(MaskedImage, MonochromeBitsSetTransparentPixelsInWordAlignedRows) {
  PixelBuffer mask(3, 2, MaskOpaque);
  mask.Set(0, 0, MaskTransparent);
  mask.Set(2, 1, MaskTransparent);
  EXPECT_EQ(MonochromeBits(mask), (std::vector<uint8_t>{0x80, 0x00, 0x20, 0x00}));

  PixelBuffer wide(17, 1, MaskTransparent);
  wide.Set(8, 0, MaskOpaque);
  EXPECT_EQ(MonochromeBits(wide), (std::vector<uint8_t>{0xFF, 0x7F, 0x80, 0x00}));
}

TEST(MaskedImage, DibPixelsSwapRedAndBlue) {
  PixelBuffer bitmap(2, 1);
  bitmap.Set(0, 0, 0x0000FF);
  bitmap.Set(1, 0, 0x123456);
  EXPECT_EQ(DibPixels(bitmap), (std::vector<uint32_t>{0xFF0000, 0x563412}));
}

}  // namespace
}  // namespace lumitrax::core
