#include "core/icon_composer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/lock_names.h"

namespace lumitrax::core {
namespace {

constexpr Color StoredPictureColor = 0x000000;

// Every designed size. 16 is the original picture. 20 keeps one-pixel lines
// with 5 x 10 cells; the frame is 19 wide and leaves the last column empty,
// since equal cells matter more than one column of balance. 24 has a two-pixel
// outer frame around one-pixel inner lines and 6 x 12 cells, filling the width.
// 32 is the 16-pixel picture with every pixel doubled.
constexpr std::array<TrayIconLayout, 4> Layouts{{
    {16, 0, 1, 1, 4, 8, 3, 1, 5},
    {20, 0, 1, 1, 5, 10, 4, 1, 7},
    {24, 0, 2, 1, 6, 12, 4, 1, 7},
    {32, 0, 2, 2, 8, 16, 6, 2, 10},
}};

// A glyph as rows of '#' (ink) and '.'.
struct Glyph {
  std::array<std::string_view, 7> rows;
  int height;
};

// 5 pixels high: the original marks, also doubled for 32 pixels.
constexpr Glyph DigitOne5{{"..#..", ".##..", "..#..", "..#..", ".###."}, 5};
constexpr Glyph CapitalA5{{".##..", "#..#.", "#..#.", "####.", "#..#."}, 5};
constexpr Glyph DownArrow5{{"..#..", "..#..", "#####", ".###.", "..#.."}, 5};
// 7 pixels high and 5 wide, one-pixel strokes, for the 5-pixel cells of 20.
constexpr Glyph DigitOne7{{"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}, 7};
constexpr Glyph CapitalA7{{".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}, 7};
constexpr Glyph DownArrow7{{"..#..", "..#..", "..#..", "..#..", "#####", ".###.", "..#.."}, 7};
// 7 pixels high and 6 wide, two-pixel strokes, centred in the 6-pixel cells of 24.
constexpr Glyph DigitOneBold7{{"..##..", ".###..", "..##..", "..##..", "..##..", "..##..", ".####."}, 7};
constexpr Glyph CapitalABold7{{".####.", "##..##", "##..##", "######", "##..##", "##..##", "##..##"}, 7};
constexpr Glyph DownArrowBold7{{"..##..", "..##..", "..##..", "..##..", "######", ".####.", "..##.."}, 7};

std::array<const Glyph*, 3> GlyphsForSize(int size) {
  switch (size) {
    case 20:
      return {&DigitOne7, &CapitalA7, &DownArrow7};
    case 24:
      return {&DigitOneBold7, &CapitalABold7, &DownArrowBold7};
    default:
      return {&DigitOne5, &CapitalA5, &DownArrow5};
  }
}

void FillBlack(PixelBuffer& bitmap, int left, int top, int width, int height) {
  bitmap.FillRect({left, top, left + width, top + height}, StoredPictureColor);
}

// A grid frame from row `top` with cells `cellHeight` high: outer lines all
// round, inner lines between the cells.
MaskedImage GridFrame(const TrayIconLayout& layout, int top, int cellHeight) {
  PixelBuffer bitmap(layout.Size, layout.Size, DefaultTransparentColor);
  const int height = 2 * layout.OuterLine + cellHeight;
  const int width = layout.FrameWidth();
  FillBlack(bitmap, layout.Left, top, width, layout.OuterLine);
  FillBlack(bitmap, layout.Left, top + height - layout.OuterLine, width, layout.OuterLine);
  FillBlack(bitmap, layout.Left, top, layout.OuterLine, height);
  FillBlack(bitmap, layout.Left + width - layout.OuterLine, top, layout.OuterLine, height);
  for (int slot = 1; slot < 3; ++slot)
    FillBlack(bitmap, layout.CellLeft(slot) - layout.InnerLine, top, layout.InnerLine, height);
  return MaskByColor(bitmap, DefaultTransparentColor);
}

// The glyph in the upper-left corner, each of its pixels drawn as a square
// as large as the layout's mark height asks for (two pixels at 32).
MaskedImage GlyphImage(const TrayIconLayout& layout, const Glyph& glyph) {
  PixelBuffer bitmap(layout.Size, layout.Size, DefaultTransparentColor);
  const int scale = layout.MarkHeight / glyph.height;
  for (int y = 0; y < glyph.height; ++y) {
    const std::string_view row = glyph.rows[static_cast<size_t>(y)];
    for (int x = 0; x < static_cast<int>(row.size()); ++x)
      if (row[static_cast<size_t>(x)] == '#') FillBlack(bitmap, x * scale, y * scale, scale, scale);
  }
  return MaskByColor(bitmap, DefaultTransparentColor);
}

struct StoredPictures {
  std::array<MaskedImage, 4> grids;
  std::array<MaskedImage, 4> marks;
};

StoredPictures DrawStoredPictures(const TrayIconLayout& layout) {
  const int size = layout.Size;
  const MaskedImage withMarks = GridFrame(layout, 0, layout.CellHeight);
  const MaskedImage withoutMarks = GridFrame(layout, layout.TopWithoutMarks, layout.CellHeight);
  const MaskedImage fullHeight = GridFrame(layout, 0, size - 2 * layout.OuterLine);
  const PixelBuffer empty(size, size, DefaultTransparentColor);
  const auto glyphs = GlyphsForSize(size);
  return {{MaskByColor(empty, DefaultTransparentColor), withMarks, withoutMarks, fullHeight},
          {withoutMarks, GlyphImage(layout, *glyphs[0]), GlyphImage(layout, *glyphs[1]),
           GlyphImage(layout, *glyphs[2])}};
}

// The pictures never change: drawn once per size on first use, so that a
// composition only copies them.
const StoredPictures& PicturesForSize(int size) {
  static const std::array<StoredPictures, 4> pictures{DrawStoredPictures(Layouts[0]), DrawStoredPictures(Layouts[1]),
                                                      DrawStoredPictures(Layouts[2]), DrawStoredPictures(Layouts[3])};
  const TrayIconLayout& layout = LayoutForSize(size);
  return pictures[static_cast<size_t>(&layout - Layouts.data())];
}

const TrayIconLayout& CanvasLayout(const PixelBuffer& canvas) {
  if (canvas.Width() != canvas.Height())
    throw std::invalid_argument("tray icon canvas is not square");
  return LayoutForSize(canvas.Width());
}

bool IsLockOn(const LockStates& locks, LockKind kind) {
  if (kind == LockKind::None) return false;
  return locks[static_cast<size_t>(kind) - 1];
}

}  // namespace

bool IsTrayIconSize(int size) {
  return std::find(TrayIconSizes.begin(), TrayIconSizes.end(), size) != TrayIconSizes.end();
}

int NearestTrayIconSize(int pixels) {
  int best = TrayIconSizes.front();
  for (int size : TrayIconSizes)
    if (std::abs(int64_t{size} - pixels) <= std::abs(int64_t{best} - pixels)) best = size;
  return best;
}

int TrayIconSizeForDpi(int dpi) {
  if (dpi <= 0) dpi = 96;
  // The small-icon size Windows uses at this DPI, rounded to the nearest pixel.
  const int64_t pixels = (int64_t{TrayIconSize} * dpi + 48) / 96;
  return NearestTrayIconSize(static_cast<int>(std::min<int64_t>(pixels, 1 << 20)));
}

Rect TrayIconLayout::LedRect(bool marks, int slot) const {
  const int left = CellLeft(slot);
  const int top = (marks ? 0 : TopWithoutMarks) + OuterLine;
  return {left, top, left + CellWidth, top + CellHeight};
}

Point TrayIconLayout::MarkOrigin(int slot) const { return {CellLeft(slot), FrameHeight() + MarkGap}; }

const TrayIconLayout& LayoutForSize(int size) {
  for (const TrayIconLayout& layout : Layouts)
    if (layout.Size == size) return layout;
  throw std::invalid_argument("no tray icon design for " + std::to_string(size) + " pixels");
}

std::array<MaskedImage, 4> GridImages(int size) { return PicturesForSize(size).grids; }

std::array<MaskedImage, 4> MarkImages(int size) { return PicturesForSize(size).marks; }

Color TransparentColorFor(const TrayIconSettings& settings) {
  bool clash = PlainColor(settings.GridColor) == DefaultTransparentColor;
  for (Color color : settings.LedColors) clash = clash || PlainColor(color) == DefaultTransparentColor;
  return clash ? AlternateTransparentColor : DefaultTransparentColor;
}

void DrawIconGrid(PixelBuffer& canvas, const TrayIconSettings& settings, Color transparentColor) {
  const TrayIconLayout& layout = CanvasLayout(canvas);
  const StoredPictures& pictures = PicturesForSize(layout.Size);
  canvas.Fill(transparentColor);
  if (settings.IconMarks) {
    DrawMasked(canvas, pictures.grids[1], {0, 0});
    for (int slot = 0; slot < 3; ++slot) {
      const LockKind kind = LockKindFromTag(settings.LedLocks[static_cast<size_t>(slot)]);
      if (kind != LockKind::None)
        DrawMasked(canvas, pictures.marks[static_cast<size_t>(kind)], layout.MarkOrigin(slot));
    }
  } else {
    DrawMasked(canvas, pictures.grids[2], {0, 0});
  }
  const Color gridColor = PlainColor(settings.GridColor);
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      if (canvas.At(x, y) != transparentColor) canvas.Set(x, y, gridColor);
}

void DrawIconLeds(PixelBuffer& canvas, const TrayIconSettings& settings, const LockStates& locks,
                  bool allLit) {
  const TrayIconLayout& layout = CanvasLayout(canvas);
  for (int slot = 0; slot < 3; ++slot) {
    if (!allLit && !IsLockOn(locks, LockKindFromTag(settings.LedLocks[static_cast<size_t>(slot)]))) continue;
    canvas.FillRect(layout.LedRect(settings.IconMarks, slot),
                    PlainColor(settings.LedColors[static_cast<size_t>(slot)]));
  }
}

std::array<MaskedImage, 3> ComposeTrayIcons(const TrayIconSettings& settings, const LockStates& locks,
                                            Color transparentColor, int size) {
  LayoutForSize(size);
  PixelBuffer canvas(size, size);
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
