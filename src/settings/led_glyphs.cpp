#include "settings/led_glyphs.h"

#include <string>

#include "core/icon_composer.h"
#include "framework/window.h"
#include "framework/image.h"

namespace lumitrax {

HBITMAP TLedGlyphs::Glyph(bool on, UINT dpi, HBITMAP off16, HBITMAP on16) {
  const int size = core::NearestTrayIconSize(ScaleForDpi(16, dpi));
  if (size != size_) {
    size_ = size;
    if (size == 16) {
      glyphs_[0] = CopyBitmap(off16);
      glyphs_[1] = CopyBitmap(on16);
    } else {
      // (No number formatting: the wide one would bring printf's machinery in.)
      const std::wstring digits = size == 20 ? L"20" : size == 24 ? L"24" : L"32";
      glyphs_[0] = LoadBitmapResource((L"LEDOFF" + digits).c_str());
      glyphs_[1] = LoadBitmapResource((L"LEDON" + digits).c_str());
    }
  }
  return glyphs_[on ? 1 : 0].get();
}

}  // namespace lumitrax
