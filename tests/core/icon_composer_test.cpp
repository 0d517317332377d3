#include "core/icon_composer.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace lumitrax::core {
namespace {

constexpr Color Grid = 0xD0D0D0;
constexpr Color Red = 0x0000FF;
constexpr Color Lime = 0x00FF00;
constexpr Color Blue = 0xFF0000;

// Draws an image as text, one line per row: '.' for a transparent pixel, the
// legend's letter for an opaque one, '?' for an opaque pixel of another colour.
std::string Picture(const MaskedImage& image, const std::map<Color, char>& legend) {
  std::string text;
  for (int y = 0; y < image.Image.Height(); ++y) {
    for (int x = 0; x < image.Image.Width(); ++x) {
      if (!image.IsOpaque(x, y)) {
        text += '.';
        continue;
      }
      const auto found = legend.find(image.Image.At(x, y));
      text += found == legend.end() ? '?' : found->second;
    }
    text += '\n';
  }
  return text;
}

std::string Rows(std::initializer_list<const char*> rows) {
  std::string text;
  for (const char* row : rows) text += std::string(row) + '\n';
  return text;
}

const std::map<Color, char> Stored{{0x000000, '#'}};
const std::map<Color, char> Drawn{{Grid, '#'}, {Red, 'R'}, {Lime, 'L'}, {Blue, 'B'}};

TrayIconSettings Settings(bool marks) {
  TrayIconSettings settings;
  settings.LedLocks = {1, 2, 3};
  settings.LedColors = {Red, Lime, Blue};
  settings.GridColor = Grid;
  settings.IconMarks = marks;
  return settings;
}

const std::string EmptyRow = "................";

TEST(TrayIconPictures, GridsAreFramesOfThreeCellsAtTheirRows) {
  const auto grids = GridImages();
  std::string empty;
  for (int i = 0; i < 16; ++i) empty += EmptyRow + '\n';
  EXPECT_EQ(Picture(grids[0], Stored), empty);

  const char* frameEdge = "################";
  const char* cells = "#....#....#....#";
  const char* none = "................";
  EXPECT_EQ(Picture(grids[1], Stored),
            Rows({frameEdge, cells, cells, cells, cells, cells, cells, cells, cells, frameEdge, none, none,
                  none, none, none, none}));
  EXPECT_EQ(Picture(grids[2], Stored),
            Rows({none, none, none, frameEdge, cells, cells, cells, cells, cells, cells, cells, cells,
                  frameEdge, none, none, none}));
  EXPECT_EQ(Picture(grids[3], Stored),
            Rows({frameEdge, cells, cells, cells, cells, cells, cells, cells, cells, cells, cells, cells,
                  cells, cells, cells, frameEdge}));
}

TEST(TrayIconPictures, MarksAreFivePixelGlyphsInTheUpperLeftCorner) {
  const auto marks = MarkImages();
  EXPECT_EQ(marks[0], GridImages()[2]);
  const auto glyph = [](std::initializer_list<const char*> rows) {
    std::string text;
    for (const char* row : rows) text += std::string(row) + "...........\n";
    for (int i = 0; i < 11; ++i) text += EmptyRow + '\n';
    return text;
  };
  EXPECT_EQ(Picture(marks[1], Stored), glyph({"..#..", ".##..", "..#..", "..#..", ".###."}));
  EXPECT_EQ(Picture(marks[2], Stored), glyph({".##..", "#..#.", "#..#.", "####.", "#..#."}));
  EXPECT_EQ(Picture(marks[3], Stored), glyph({"..#..", "..#..", "#####", ".###.", "..#.."}));
}

TEST(ComposeTrayIcons, MarksOnPutsLedsInRowsOneToEightAndMarksBelow) {
  const auto icons = ComposeTrayIcons(Settings(true), {false, true, false}, DefaultTransparentColor);
  EXPECT_EQ(Picture(icons[IconCurrent], Drawn), Rows({
                                                    "################",
                                                    "#....#LLLL#....#",
                                                    "#....#LLLL#....#",
                                                    "#....#LLLL#....#",
                                                    "#....#LLLL#....#",
                                                    "#....#LLLL#....#",
                                                    "#....#LLLL#....#",
                                                    "#....#LLLL#....#",
                                                    "#....#LLLL#....#",
                                                    "################",
                                                    "................",
                                                    "...#...##....#..",
                                                    "..##..#..#...#..",
                                                    "...#..#..#.#####",
                                                    "...#..####..###.",
                                                    "..###.#..#...#..",
                                                }));
  const std::string allLit = Picture(icons[IconAllLit], Drawn);
  EXPECT_EQ(allLit.substr(17 * 1, 17), "#RRRR#LLLL#BBBB#\n");
  EXPECT_EQ(allLit.substr(17 * 8, 17), "#RRRR#LLLL#BBBB#\n");
  const std::string noneLit = Picture(icons[IconNoneLit], Drawn);
  EXPECT_EQ(noneLit.substr(17 * 4, 17), "#....#....#....#\n");
  EXPECT_EQ(noneLit.substr(17 * 11), Picture(icons[IconCurrent], Drawn).substr(17 * 11));
}

TEST(ComposeTrayIcons, MarksOffPutsGridInRowsThreeToTwelveAndNoMarks) {
  const auto icons = ComposeTrayIcons(Settings(false), {true, false, true}, DefaultTransparentColor);
  const char* none = "................";
  const char* edge = "################";
  const char* lit = "#RRRR#....#BBBB#";
  EXPECT_EQ(Picture(icons[IconCurrent], Drawn),
            Rows({none, none, none, edge, lit, lit, lit, lit, lit, lit, lit, lit, edge, none, none, none}));
  const char* all = "#RRRR#LLLL#BBBB#";
  EXPECT_EQ(Picture(icons[IconAllLit], Drawn),
            Rows({none, none, none, edge, all, all, all, all, all, all, all, all, edge, none, none, none}));
  EXPECT_EQ(icons[IconNoneLit], MaskByColor([] {
              PixelBuffer grid(16, 16, DefaultTransparentColor);
              DrawIconGrid(grid, Settings(false), DefaultTransparentColor);
              return grid;
            }(), DefaultTransparentColor));
}

TEST(ComposeTrayIcons, SlotWithoutLockHasNoMarkNeverLightsButLightsInThePreview) {
  for (int noLock : {0, -1, 7}) {
    TrayIconSettings settings = Settings(true);
    settings.LedLocks[1] = noLock;
    const auto icons = ComposeTrayIcons(settings, {true, true, true}, DefaultTransparentColor);
    const std::string current = Picture(icons[IconCurrent], Drawn);
    EXPECT_EQ(current.substr(17 * 1, 17), "#RRRR#....#BBBB#\n") << noLock;
    EXPECT_EQ(current.substr(17 * 11, 17), "...#.........#..\n") << noLock;
    EXPECT_EQ(current.substr(17 * 14, 17), "...#........###.\n") << noLock;
    EXPECT_EQ(Picture(icons[IconAllLit], Drawn).substr(17 * 1, 17), "#RRRR#LLLL#BBBB#\n") << noLock;
  }
}

TEST(ComposeTrayIcons, SlotsShowingTheSameLockLightTogetherWithTheirOwnMarks) {
  TrayIconSettings settings = Settings(true);
  settings.LedLocks = {2, 2, 1};
  const auto icons = ComposeTrayIcons(settings, {false, true, false}, DefaultTransparentColor);
  const std::string current = Picture(icons[IconCurrent], Drawn);
  EXPECT_EQ(current.substr(17 * 5, 17), "#RRRR#LLLL#....#\n");
  EXPECT_EQ(current.substr(17 * 14, 17), ".####.####...#..\n");
}

TEST(TransparentColor, SwitchesWhileAnyTrayColourIsExactlyTheTransparentColour) {
  EXPECT_EQ(TransparentColorFor(Settings(true)), DefaultTransparentColor);
  for (int which = 0; which < 4; ++which) {
    TrayIconSettings settings = Settings(true);
    if (which == 0)
      settings.GridColor = 0xFF00FF;
    else
      settings.LedColors[static_cast<size_t>(which - 1)] = 0xFF00FF;
    EXPECT_EQ(TransparentColorFor(settings), AlternateTransparentColor) << which;
  }
  TrayIconSettings nearMiss = Settings(true);
  nearMiss.GridColor = 0xFE00FF;
  nearMiss.LedColors = {0xFF00FE, 0xFF01FF, AlternateTransparentColor};
  EXPECT_EQ(TransparentColorFor(nearMiss), DefaultTransparentColor);
}

TEST(TransparentColor, MagentaStillShowsAndTheAlternateColourBecomesTransparent) {
  TrayIconSettings settings = Settings(false);
  settings.GridColor = 0xFF00FF;
  settings.LedColors = {0xFF00FF, AlternateTransparentColor, Blue};
  const auto icons = ComposeTrayIcons(settings, {}, TransparentColorFor(settings));
  const std::map<Color, char> legend{{0xFF00FF, 'M'}, {Blue, 'B'}};
  const std::string allLit = Picture(icons[IconAllLit], legend);
  EXPECT_EQ(allLit.substr(17 * 3, 17), "MMMMMMMMMMMMMMMM\n");
  EXPECT_EQ(allLit.substr(17 * 4, 17), "MMMMMM....MBBBBM\n");
  EXPECT_EQ(allLit.substr(0, 17), EmptyRow + '\n');
}

TEST(ComposeTrayIcons, BlackGridColourStillRecoloursAndStaysOpaque) {
  TrayIconSettings settings = Settings(true);
  settings.GridColor = 0x000000;
  const auto icons = ComposeTrayIcons(settings, {}, DefaultTransparentColor);
  const std::string picture = Picture(icons[IconNoneLit], {{0x000000, 'k'}});
  EXPECT_EQ(picture.substr(0, 17), "kkkkkkkkkkkkkkkk\n");
  EXPECT_EQ(picture.substr(17 * 15, 17), "..kkk.k..k...k..\n");
}

TEST(ComposeTrayIcons, TransparentPixelsAreBlackInTheImageAndWhiteInTheMask) {
  const auto icons = ComposeTrayIcons(Settings(true), {}, DefaultTransparentColor);
  const MaskedImage& icon = icons[IconCurrent];
  EXPECT_EQ(icon.Image.At(2, 2), 0x000000u);
  EXPECT_EQ(icon.Mask.At(2, 2), MaskTransparent);
  EXPECT_EQ(icon.Image.At(0, 0), Grid);
  EXPECT_EQ(icon.Mask.At(0, 0), MaskOpaque);
}

TEST(ComposeTrayIcons, ColoursWithAFlagByteDrawAsTheirRgbPart) {
  TrayIconSettings settings = Settings(false);
  settings.LedColors[0] = 0x1FFFFFFF;  // no colour
  settings.GridColor = 0x20000000;  // default colour
  const auto icons = ComposeTrayIcons(settings, {}, DefaultTransparentColor);
  EXPECT_EQ(icons[IconAllLit].Image.At(2, 5), 0xFFFFFFu);
  EXPECT_EQ(icons[IconAllLit].Image.At(0, 3), 0x000000u);
  EXPECT_TRUE(icons[IconAllLit].IsOpaque(0, 3));
}

// Larger sizes: each drawn at its own size, never a stretched 16-pixel picture.

TrayIconSettings CapsAndNumWithSlotThreeUnused(bool marks) {
  TrayIconSettings settings = Settings(marks);
  settings.LedLocks = {1, 2, 0};
  return settings;
}

TEST(TrayIconSizes, TwentyPixelsHasOnePixelLinesFiveByTenCellsAndSevenPixelMarks) {
  const auto on = ComposeTrayIcons(CapsAndNumWithSlotThreeUnused(true), {false, true, false},
                                   DefaultTransparentColor, 20);
  const char* edge = "###################.";
  const char* caps = "#.....#LLLLL#.....#.";
  const char* gap = "....................";
  EXPECT_EQ(Picture(on[IconCurrent], Drawn),
            Rows({edge, caps, caps, caps, caps, caps, caps, caps, caps, caps, caps, edge, gap,
                  "...#....###.........",
                  "..##...#...#........",
                  "...#...#...#........",
                  "...#...#####........",
                  "...#...#...#........",
                  "...#...#...#........",
                  "..###..#...#........"}));
  const std::string allLit = Picture(on[IconAllLit], Drawn);
  EXPECT_EQ(allLit.substr(21 * 1, 21), "#RRRRR#LLLLL#BBBBB#.\n");
  EXPECT_EQ(allLit.substr(21 * 10, 21), "#RRRRR#LLLLL#BBBBB#.\n");
  EXPECT_EQ(allLit.substr(21 * 13), Picture(on[IconNoneLit], Drawn).substr(21 * 13));

  TrayIconSettings arrows = Settings(true);
  arrows.LedLocks = {3, 3, 3};
  const std::string marks = Picture(ComposeTrayIcons(arrows, {}, DefaultTransparentColor, 20)[IconNoneLit], Drawn);
  EXPECT_EQ(marks.substr(21 * 13), Rows({"...#.....#.....#....", "...#.....#.....#....", "...#.....#.....#....",
                                         "...#.....#.....#....", ".#####.#####.#####..", "..###...###...###...",
                                         "...#.....#.....#...."}));

  const auto off = ComposeTrayIcons(Settings(false), {true, false, true}, DefaultTransparentColor, 20);
  const char* lit = "#RRRRR#.....#BBBBB#.";
  EXPECT_EQ(Picture(off[IconCurrent], Drawn),
            Rows({gap, gap, gap, gap, edge, lit, lit, lit, lit, lit, lit, lit, lit, lit, lit, edge, gap, gap, gap,
                  gap}));
}

TEST(TrayIconSizes, TwentyFourPixelsHasATwoPixelFrameSixByTwelveCellsAndBoldMarks) {
  const auto on = ComposeTrayIcons(CapsAndNumWithSlotThreeUnused(true), {false, true, false},
                                   DefaultTransparentColor, 24);
  const char* edge = "########################";
  const char* caps = "##......#LLLLLL#......##";
  const char* gap = "........................";
  EXPECT_EQ(Picture(on[IconCurrent], Drawn),
            Rows({edge, edge, caps, caps, caps, caps, caps, caps, caps, caps, caps, caps, caps, caps, edge, edge,
                  gap,
                  "....##....####..........",
                  "...###...##..##.........",
                  "....##...##..##.........",
                  "....##...######.........",
                  "....##...##..##.........",
                  "....##...##..##.........",
                  "...####..##..##........."}));

  TrayIconSettings arrows = Settings(true);
  arrows.LedLocks = {3, 0, 3};
  const std::string marks = Picture(ComposeTrayIcons(arrows, {}, DefaultTransparentColor, 24)[IconAllLit], Drawn);
  EXPECT_EQ(marks.substr(25 * 2, 25), "##RRRRRR#LLLLLL#BBBBBB##\n");
  EXPECT_EQ(marks.substr(25 * 21), Rows({"..######........######..", "...####..........####...",
                                         "....##............##...."}));

  const auto off = ComposeTrayIcons(Settings(false), {}, DefaultTransparentColor, 24);
  const std::string allLit = Picture(off[IconAllLit], Drawn);
  for (int row : {0, 1, 2, 3, 20, 21, 22, 23}) EXPECT_EQ(allLit.substr(25 * row, 25), std::string(gap) + '\n') << row;
  for (int row : {4, 5, 18, 19}) EXPECT_EQ(allLit.substr(25 * row, 25), std::string(edge) + '\n') << row;
  for (int row = 6; row < 18; ++row) EXPECT_EQ(allLit.substr(25 * row, 25), "##RRRRRR#LLLLLL#BBBBBB##\n") << row;
  EXPECT_EQ(Picture(off[IconCurrent], Drawn), Picture(off[IconNoneLit], Drawn)) << "every lock is off";
}

// At 32 pixels every pixel of the 16-pixel picture becomes a 2 x 2 square.
TEST(TrayIconSizes, ThirtyTwoPixelsIsTheSixteenPixelPictureWithEveryPixelDoubled) {
  struct Case {
    TrayIconSettings settings;
    LockStates locks;
  };
  TrayIconSettings mixed = Settings(true);
  mixed.LedLocks = {3, -1, 2};
  TrayIconSettings magenta = Settings(false);
  magenta.GridColor = 0xFF00FF;
  for (const Case& c : {Case{Settings(true), {true, false, true}}, Case{Settings(false), {false, true, false}},
                        Case{mixed, {true, true, true}}, Case{magenta, {true, true, false}}}) {
    const Color transparent = TransparentColorFor(c.settings);
    const auto small = ComposeTrayIcons(c.settings, c.locks, transparent, 16);
    const auto large = ComposeTrayIcons(c.settings, c.locks, transparent, 32);
    for (size_t image = 0; image < 3; ++image) {
      ASSERT_EQ(large[image].Image.Width(), 32);
      ASSERT_EQ(large[image].Mask.Height(), 32);
      int differences = 0;
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
          if (large[image].Image.At(x, y) != small[image].Image.At(x / 2, y / 2) ||
              large[image].Mask.At(x, y) != small[image].Mask.At(x / 2, y / 2))
            ++differences;
      EXPECT_EQ(differences, 0) << "image " << image << ", marks " << c.settings.IconMarks;
    }
  }
}

TEST(TrayIconSizes, EverySizeKeepsItsCellsWholeForEverySlotAndState) {
  for (int size : TrayIconSizes) {
    const TrayIconLayout& layout = LayoutForSize(size);
    for (bool marks : {false, true}) {
      for (int slot = 0; slot < 3; ++slot) {
        // Only this slot's lock on: exactly its cell is lit, the others stay empty.
        TrayIconSettings settings = Settings(marks);
        LockStates locks{};
        locks[static_cast<size_t>(slot)] = true;
        const auto icons = ComposeTrayIcons(settings, locks, DefaultTransparentColor, size);
        const Rect cell = layout.LedRect(marks, slot);
        const Color colour = settings.LedColors[static_cast<size_t>(slot)];
        int inside = 0, outside = 0;
        for (int y = 0; y < size; ++y)
          for (int x = 0; x < size; ++x) {
            const bool lit = icons[IconCurrent].IsOpaque(x, y) && icons[IconCurrent].Image.At(x, y) == colour;
            const bool inCell = x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom;
            inside += lit && inCell;
            outside += lit && !inCell;
          }
        EXPECT_EQ(inside, layout.CellWidth * layout.CellHeight) << size << " slot " << slot;
        EXPECT_EQ(outside, 0) << size << " slot " << slot;
        // The cell is framed: the pixels just outside it are grid.
        const MaskedImage& none = icons[IconNoneLit];
        EXPECT_EQ(none.Image.At(cell.left - 1, cell.top), Grid) << size;
        EXPECT_EQ(none.Image.At(cell.right, cell.bottom - 1), Grid) << size;
        EXPECT_EQ(none.Image.At(cell.left, cell.top - 1), Grid) << size;
        EXPECT_EQ(none.Image.At(cell.right - 1, cell.bottom), Grid) << size;
        EXPECT_FALSE(none.IsOpaque(cell.left, cell.top)) << size;
        EXPECT_FALSE(none.IsOpaque(cell.right - 1, cell.bottom - 1)) << size;
      }
      // Marks off: nothing below the frame; marks on: the marks below it.
      const auto icons = ComposeTrayIcons(Settings(marks), {}, DefaultTransparentColor, size);
      const int frameBottom = (marks ? 0 : layout.TopWithoutMarks) + layout.FrameHeight();
      int below = 0;
      for (int y = frameBottom; y < size; ++y)
        for (int x = 0; x < size; ++x) below += icons[IconNoneLit].IsOpaque(x, y);
      if (marks)
        EXPECT_GT(below, 3 * layout.MarkHeight) << size;
      else
        EXPECT_EQ(below, 0) << size;
      EXPECT_LE(layout.MarkOrigin(0).y + layout.MarkHeight, size) << size;
      EXPECT_LE(layout.Left + layout.FrameWidth(), size) << size;
    }
  }
}

TEST(TrayIconSizes, SixteenPixelLayoutIsTheTablesOfTheOriginalPicture) {
  const TrayIconLayout& layout = LayoutForSize(16);
  for (int slot = 0; slot < 3; ++slot) {
    EXPECT_EQ(layout.LedRect(false, slot), LedRects[0][static_cast<size_t>(slot)]);
    EXPECT_EQ(layout.LedRect(true, slot), LedRects[1][static_cast<size_t>(slot)]);
    EXPECT_EQ(layout.MarkOrigin(slot), MarkOrigins[static_cast<size_t>(slot)]);
  }
  EXPECT_EQ(ComposeTrayIcons(Settings(true), {true, false, true}, DefaultTransparentColor),
            ComposeTrayIcons(Settings(true), {true, false, true}, DefaultTransparentColor, 16));
}

TEST(TrayIconSizes, OtherSizesAndCanvasesAreRefused) {
  for (int size : {0, 15, 18, 28, 48, -16})
    EXPECT_THROW(ComposeTrayIcons(Settings(true), {}, DefaultTransparentColor, size), std::invalid_argument) << size;
  PixelBuffer wide(24, 20);
  EXPECT_THROW(DrawIconGrid(wide, Settings(true), DefaultTransparentColor), std::invalid_argument);
  EXPECT_THROW(DrawIconLeds(wide, Settings(true), {}, true), std::invalid_argument);
  EXPECT_THROW(GridImages(17), std::invalid_argument);
}

TEST(TrayIconSizes, SizeForDpiIsTheNearestDesignedSize) {
  const std::pair<int, int> cases[] = {
      {96, 16},  {120, 20}, {144, 24}, {192, 32},  // 100, 125, 150, 200 %
      {72, 16},  {100, 16}, {108, 20},            // 18 pixels: a tie goes to the larger size
      {132, 24}, {139, 24}, {168, 32},            // 175 %: 28 pixels, a tie
      {160, 24}, {240, 32}, {288, 32}, {0, 16}, {-96, 16}, {1 << 30, 32}};
  for (const auto& [dpi, size] : cases) EXPECT_EQ(TrayIconSizeForDpi(dpi), size) << dpi;
  EXPECT_EQ(NearestTrayIconSize(22), 24);
  EXPECT_EQ(NearestTrayIconSize(21), 20);
  EXPECT_EQ(NearestTrayIconSize(27), 24);
  EXPECT_EQ(NearestTrayIconSize(29), 32);
  EXPECT_TRUE(IsTrayIconSize(20));
  EXPECT_FALSE(IsTrayIconSize(28));
}

TEST(TrayAreaSamplePoint, SamplesNearTheFarEndAlongTheTaskbar) {
  const Rect desktop{0, 0, 1024, 768};
  EXPECT_EQ(TrayAreaSamplePoint({900, 730, 1020, 768}, desktop), (Point{1018, 749}));
  EXPECT_EQ(TrayAreaSamplePoint({0, 500, 60, 768}, desktop), (Point{30, 766}));
  EXPECT_EQ(TrayAreaSamplePoint({10, 10, 41, 41}, desktop), (Point{25, 39}));
}

TEST(TrayAreaSamplePoint, CentreMustLieOnTheDesktopWithRightAndBottomExclusive) {
  const Rect desktop{-1280, 0, 1024, 768};
  EXPECT_TRUE(TrayAreaSamplePoint({-1280, 0, -1279, 1}, desktop).has_value());
  EXPECT_FALSE(TrayAreaSamplePoint({1000, 700, 1048, 740}, desktop).has_value());  // centre x 1024
  EXPECT_FALSE(TrayAreaSamplePoint({900, 760, 1000, 776}, desktop).has_value());   // centre y 768
  EXPECT_FALSE(TrayAreaSamplePoint({-1300, 0, -1282, 10}, desktop).has_value());
  // The centre is rounded toward zero: (-3 + 0) / 2 is -1, which lies on this desktop.
  EXPECT_EQ(TrayAreaSamplePoint({-3, 0, 0, 40}, {-1, 0, 10, 50}), (Point{-1, 38}));
}

}  // namespace
}  // namespace lumitrax::core
