#include "core/icon_composer.h"

#include <cstddef>
#include <cstdint>

#include "core/lock_names.h"

namespace lumitrax::core {
namespace {

constexpr Color StoredPictureColor = 0x000000;

// A grid frame between rows `top` and `bottom`: horizontal lines over the full
// width at both rows, vertical lines at columns 0, 5, 10 and 15 between them.
MaskedImage GridFrame(int top, int bottom) {
  PixelBuffer bitmap(TrayIconSize, TrayIconSize, DefaultTransparentColor);
  for (int x = 0; x < TrayIconSize; ++x) {
    bitmap.Set(x, top, StoredPictureColor);
    bitmap.Set(x, bottom, StoredPictureColor);
  }
  for (int x = 0; x < TrayIconSize; x += 5)
    for (int y = top; y <= bottom; ++y) bitmap.Set(x, y, StoredPictureColor);
  return MaskByColor(bitmap, DefaultTransparentColor);
}

// A 5 x 5 glyph, one byte per row, bit 4 for column 0 down to bit 0 for column 4.
using Glyph = std::array<uint8_t, 5>;
constexpr Glyph DigitOneGlyph{0b00100, 0b01100, 0b00100, 0b00100, 0b01110};
constexpr Glyph CapitalAGlyph{0b01100, 0b10010, 0b10010, 0b11110, 0b10010};
constexpr Glyph DownArrowGlyph{0b00100, 0b00100, 0b11111, 0b01110, 0b00100};

MaskedImage GlyphImage(const Glyph& glyph) {
  PixelBuffer bitmap(TrayIconSize, TrayIconSize, DefaultTransparentColor);
  for (int y = 0; y < static_cast<int>(glyph.size()); ++y)
    for (int x = 0; x < 5; ++x)
      if (glyph[static_cast<size_t>(y)] & (0b10000 >> x)) bitmap.Set(x, y, StoredPictureColor);
  return MaskByColor(bitmap, DefaultTransparentColor);
}

bool IsLockOn(const LockStates& locks, LockKind kind) {
  if (kind == LockKind::None) return false;
  return locks[static_cast<size_t>(kind) - 1];
}

}  // namespace

std::array<MaskedImage, 4> GridImages() {
  const PixelBuffer empty(TrayIconSize, TrayIconSize, DefaultTransparentColor);
  return {MaskByColor(empty, DefaultTransparentColor), GridFrame(0, 9), GridFrame(3, 12),
          GridFrame(0, 15)};
}

std::array<MaskedImage, 4> MarkImages() {
  return {GridFrame(3, 12), GlyphImage(DigitOneGlyph), GlyphImage(CapitalAGlyph),
          GlyphImage(DownArrowGlyph)};
}

Color TransparentColorFor(const TrayIconSettings& settings) {
  bool clash = PlainColor(settings.GridColor) == DefaultTransparentColor;
  for (Color color : settings.LedColors) clash = clash || PlainColor(color) == DefaultTransparentColor;
  return clash ? AlternateTransparentColor : DefaultTransparentColor;
}

void DrawIconGrid(PixelBuffer& canvas, const TrayIconSettings& settings, Color transparentColor) {
  canvas.Fill(transparentColor);
  if (settings.IconMarks) {
    DrawMasked(canvas, GridImages()[1], {0, 0});
    const auto marks = MarkImages();
    for (size_t slot = 0; slot < MarkOrigins.size(); ++slot) {
      const LockKind kind = LockKindFromTag(settings.LedLocks[slot]);
      if (kind != LockKind::None) DrawMasked(canvas, marks[static_cast<size_t>(kind)], MarkOrigins[slot]);
    }
  } else {
    DrawMasked(canvas, GridImages()[2], {0, 0});
  }
  const Color gridColor = PlainColor(settings.GridColor);
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      if (canvas.At(x, y) != transparentColor) canvas.Set(x, y, gridColor);
}

void DrawIconLeds(PixelBuffer& canvas, const TrayIconSettings& settings, const LockStates& locks,
                  bool allLit) {
  const auto& rects = LedRects[settings.IconMarks ? 1 : 0];
  for (size_t slot = 0; slot < rects.size(); ++slot) {
    if (!allLit && !IsLockOn(locks, LockKindFromTag(settings.LedLocks[slot]))) continue;
    canvas.FillRect(rects[slot], PlainColor(settings.LedColors[slot]));
  }
}

std::array<MaskedImage, 3> ComposeTrayIcons(const TrayIconSettings& settings, const LockStates& locks,
                                            Color transparentColor) {
  PixelBuffer canvas(TrayIconSize, TrayIconSize);
  std::array<MaskedImage, 3> icons;
  DrawIconGrid(canvas, settings, transparentColor);
  icons[IconNoneLit] = MaskByColor(canvas, transparentColor);
  DrawIconLeds(canvas, settings, locks, false);
  icons[IconCurrent] = MaskByColor(canvas, transparentColor);
  DrawIconLeds(canvas, settings, locks, true);
  icons[IconAllLit] = MaskByColor(canvas, transparentColor);
  return icons;
}

std::optional<Point> TrayAreaSamplePoint(const Rect& trayArea, const Rect& virtualDesktop) {
  // 64-bit sums: the rectangle comes from another process and may hold anything.
  const auto centreX = static_cast<int>((int64_t{trayArea.left} + trayArea.right) / 2);
  const auto centreY = static_cast<int>((int64_t{trayArea.top} + trayArea.bottom) / 2);
  if (centreX < virtualDesktop.left || centreX >= virtualDesktop.right || centreY < virtualDesktop.top ||
      centreY >= virtualDesktop.bottom)
    return std::nullopt;
  const int64_t width = int64_t{trayArea.right} - trayArea.left;
  const int64_t height = int64_t{trayArea.bottom} - trayArea.top;
  if (width > height) return Point{trayArea.right - 2, centreY};
  return Point{centreX, trayArea.bottom - 2};
}

}  // namespace lumitrax::core
