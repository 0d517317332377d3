#pragma once
// The tray icon, drawn at run time: a grid of three LED cells in the grid colour,
// optional marks under the cells naming each slot's lock, and each cell filled
// with its slot's colour while its lock is on. Three square images come out:
// the current state (the notification-area icon), all LEDs lit and none lit
// (the settings window blinks between the last two as a preview). Each is drawn
// at the size the taskbar shows it (16, 20, 24 or 32 pixels) with whole-pixel
// cells, lines and marks: Windows never has to stretch a 16-pixel picture.
#include <array>
#include <optional>

#include "core/color.h"
#include "core/lock_kind.h"
#include "core/masked_image.h"
#include "core/rect.h"

namespace lumitrax::core {

inline constexpr int TrayIconSize = 16;

// The sizes the icon is designed for: the small-icon size at 100, 125, 150 and
// 200 % scaling.
inline constexpr std::array<int, 4> TrayIconSizes{16, 20, 24, 32};
bool IsTrayIconSize(int size);
// The designed size nearest to a small-icon size in pixels; a tie goes to the
// larger size, which loses less when the shell fits it into its slot.
int NearestTrayIconSize(int pixels);
// The icon size for a DPI: 16, 20, 24, 32 at 96, 120, 144, 192; any other DPI
// takes the nearest of these. A DPI that is not positive counts as 96.
int TrayIconSizeForDpi(int dpi);

// How the icon is laid out at one size. Across: an outer line, a cell, an inner
// line, a cell, an inner line, a cell, an outer line, starting at `Left`. Down:
// an outer line, the cell height, an outer line; with marks on the frame starts
// at row 0 and the marks follow `MarkGap` rows below it, with marks off the
// frame is centred at `TopWithoutMarks`.
struct TrayIconLayout {
  int Size = 0;
  int Left = 0;
  int OuterLine = 0;
  int InnerLine = 0;
  int CellWidth = 0;
  int CellHeight = 0;
  int TopWithoutMarks = 0;
  int MarkGap = 0;
  int MarkHeight = 0;

  int FrameWidth() const { return 2 * OuterLine + 2 * InnerLine + 3 * CellWidth; }
  int FrameHeight() const { return 2 * OuterLine + CellHeight; }
  // Left column of slot 0..2's cell.
  int CellLeft(int slot) const { return Left + OuterLine + slot * (CellWidth + InnerLine); }
  // The LED cell of slot 0..2 with marks off or on.
  Rect LedRect(bool marks, int slot) const;
  // Upper-left corner of slot 0..2's mark.
  Point MarkOrigin(int slot) const;
};

// The layout of a designed size; std::invalid_argument for any other size.
const TrayIconLayout& LayoutForSize(int size);

// The colour that stands for "transparent" in the drawing bitmap, and the one
// used instead while a tray colour is exactly that colour.
inline constexpr Color DefaultTransparentColor = 0xFF00FF;
inline constexpr Color AlternateTransparentColor = 0x123456;

// LED cells, indexed by marks (0 off, 1 on) and slot (0..2 for slots 1..3).
// With marks on the row moves up to make room for the marks below it.
inline constexpr std::array<std::array<Rect, 3>, 2> LedRects{{
    {{{1, 4, 5, 12}, {6, 4, 10, 12}, {11, 4, 15, 12}}},
    {{{1, 1, 5, 9}, {6, 1, 10, 9}, {11, 1, 15, 9}}},
}};

// Upper-left corner of each slot's mark (slots 1..3 at index 0..2).
inline constexpr std::array<Point, 3> MarkOrigins{{{1, 11}, {6, 11}, {11, 11}}};

// The stored pictures of one size, opaque pixels black. Grid images: 0 empty
// (it receives each composition's grid drawing), 1 the grid for marks on (at
// 16 pixels rows 0-9), 2 the grid for marks off (rows 3-12), 3 a full-height
// grid (unused).
std::array<MaskedImage, 4> GridImages(int size = TrayIconSize);
// Mark images indexed by LockKind: 0 a copy of grid image 2 (never drawn),
// 1 the digit one, 2 a capital A, 3 a down arrow; each glyph in the upper-left
// corner of its image (5 pixels high at 16, 7 at 20 and 24, 10 at 32).
std::array<MaskedImage, 4> MarkImages(int size = TrayIconSize);

// What the tray controls of the settings window hold at the moment of drawing.
struct TrayIconSettings {
  std::array<int, 3> LedLocks{};    // cmbLed1..3 item index: a LockKind, or -1 for no selection
  std::array<Color, 3> LedColors{}; // cmbColor1..3 SelectedColor, system colours already in RGB
  Color GridColor = 0;              // cmbColorGrid SelectedColor, likewise
  bool IconMarks = false;           // chbIconMarks
};

// Num, Caps and Scroll Lock, as GetLockState reads them.
using LockStates = std::array<bool, 3>;

// 0x123456 while any of the grid and LED colours is exactly 0xFF00FF, else 0xFF00FF.
Color TransparentColorFor(const TrayIconSettings& settings);

// Background, grid and marks: the canvas filled with the transparent colour,
// the grid for the layout and the marks of the slots that show a lock, then
// every pixel that is not the transparent colour turned into the grid colour.
// The canvas is square and one of the designed sizes (std::invalid_argument
// otherwise); DrawIconLeds likewise.
void DrawIconGrid(PixelBuffer& canvas, const TrayIconSettings& settings, Color transparentColor);

// Fills the LED cells of slots 1, 2, 3 in this order: with allLit every cell,
// otherwise only the cells whose lock is on (a slot with no lock never lights).
void DrawIconLeds(PixelBuffer& canvas, const TrayIconSettings& settings, const LockStates& locks,
                  bool allLit);

// Image indexes of the tray icon list.
inline constexpr int IconCurrent = 0;
inline constexpr int IconAllLit = 1;
inline constexpr int IconNoneLit = 2;

// The three images of the tray icon list at `size` pixels (one of the designed
// sizes, std::invalid_argument otherwise), masked by the transparent colour.
// Image 2 (none lit) is also the grid-and-marks drawing.
std::array<MaskedImage, 3> ComposeTrayIcons(const TrayIconSettings& settings, const LockStates& locks,
                                            Color transparentColor, int size = TrayIconSize);

// Where to sample the colour of the taskbar's notification area, given its
// window rectangle and the virtual desktop: near the far end of the area along
// the taskbar. Nothing when the area's centre lies off the desktop (the caller
// then uses its default colour).
std::optional<Point> TrayAreaSamplePoint(const Rect& trayArea, const Rect& virtualDesktop);

}  // namespace lumitrax::core
