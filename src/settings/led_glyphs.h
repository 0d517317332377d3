#pragma once
// The lock buttons' LED glyphs, lit and dark, at the size for a window's
// scale: the form's own 16-pixel pictures at 100 %, and pictures drawn at 20,
// 24 and 32 pixels for the larger scales, never a stretched one. The pair is
// kept until the size changes.
#include <windows.h>

#include "framework/handles.h"

namespace lumitrax {

class TLedGlyphs {
 public:
  // The glyph for `dpi`; `off16` and `on16` are the 16-pixel pictures.
  HBITMAP Glyph(bool on, UINT dpi, HBITMAP off16, HBITMAP on16);
  int Size() const noexcept { return size_; }

 private:
  int size_ = 0;
  UniqueBitmap glyphs_[2];
};

}  // namespace lumitrax
