// Draws every designed size of the tray icon into one enlarged sheet, as a
// binary PPM on standard output, to look at the designs side by side. Rows:
// marks on, then marks off; for each size the current state (Caps Lock on,
// slot 3 "[None]"), all lit and none lit, on a light and on a dark taskbar.
// Usage: icon_sheet [SIZE]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/icon_composer.h"

using namespace lumitrax::core;

int main(int argc, char** argv) {
  // An optional argument draws only that size, larger.
  const int only = argc > 1 ? std::atoi(argv[1]) : 0;
  const int Zoom = only ? 12 : 5;
  constexpr int Gap = 4, Cell = 32 + Gap;
  constexpr Color Light = 0xF3F3F3, Dark = 0x202020;
  const Color grids[2] = {0x383838, 0xD0D0D0};  // the default grid on each taskbar
  const int columns = 3 * 2 * (only ? 1 : static_cast<int>(TrayIconSizes.size()));
  const int width = columns * Cell * Zoom, height = 2 * Cell * Zoom;
  std::vector<Color> sheet(static_cast<size_t>(width) * height, 0x808080);
  for (int marks = 0; marks < 2; ++marks) {
    int column = 0;
    for (int size : TrayIconSizes) {
      if (only && size != only) continue;
      for (int theme = 0; theme < 2; ++theme) {
        TrayIconSettings settings{{1, 2, 0}, {0x0000FF, 0x00C000, 0xFF0000}, grids[theme], marks == 0};
        const auto icons = ComposeTrayIcons(settings, {false, true, false}, DefaultTransparentColor, size);
        for (const MaskedImage& icon : icons) {
          const int left = column++ * Cell * Zoom, top = marks * Cell * Zoom;
          for (int y = 0; y < 32 * Zoom; ++y)
            for (int x = 0; x < 32 * Zoom; ++x) {
              const int px = x / Zoom, py = y / Zoom;
              Color color = theme == 0 ? Light : Dark;
              if (px < size && py < size && icon.IsOpaque(px, py)) color = icon.Image.At(px, py);
              // A faint pixel grid on the enlarged picture.
              if (px < size && py < size && (x % Zoom == 0 || y % Zoom == 0)) color = (color >> 1) & 0x7F7F7F;
              sheet[static_cast<size_t>(top + y) * width + left + x] = color;
            }
        }
      }
    }
  }
  std::printf("P6\n%d %d\n255\n", width, height);
  for (Color color : sheet) {
    const unsigned char rgb[3] = {static_cast<unsigned char>(color & 0xFF), static_cast<unsigned char>(color >> 8),
                                  static_cast<unsigned char>(color >> 16)};
    std::fwrite(rgb, 1, 3, stdout);
  }
}
