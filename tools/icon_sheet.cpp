// Draws every designed size of the tray icon into one enlarged sheet, as a
// binary PPM on standard output, to look at the designs side by side. Rows:
// marks on, then marks off; for each size the current state (Caps Lock on,
// slot 3 "[None]"), all lit and none lit, on a light and on a dark taskbar.
// A third row shows, for comparison, the 16-pixel pictures (marks on) as the
// taskbar stretched them to each size before: smoothly, so the cells blur.
// Usage: icon_sheet [SIZE]
#include <cstdio>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/icon_composer.h"

using namespace lumitrax::core;

namespace {

Color OnBackground(const MaskedImage& icon, int x, int y, Color background) {
  return icon.IsOpaque(x, y) ? icon.Image.At(x, y) : background;
}

// The 16-pixel picture over `background`, stretched to `size` with bilinear
// filtering, read at (x, y).
Color Stretched(const MaskedImage& icon, int size, int x, int y, Color background) {
  const double sx = std::clamp((x + 0.5) * 16.0 / size - 0.5, 0.0, 15.0);
  const double sy = std::clamp((y + 0.5) * 16.0 / size - 0.5, 0.0, 15.0);
  const int x0 = static_cast<int>(sx), y0 = static_cast<int>(sy);
  const int x1 = std::min(x0 + 1, 15), y1 = std::min(y0 + 1, 15);
  const double fx = sx - x0, fy = sy - y0;
  Color result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    auto channel = [&](int px, int py) { return (OnBackground(icon, px, py, background) >> shift) & 0xFF; };
    const double top = channel(x0, y0) * (1 - fx) + channel(x1, y0) * fx;
    const double bottom = channel(x0, y1) * (1 - fx) + channel(x1, y1) * fx;
    result |= static_cast<Color>(std::lround(top * (1 - fy) + bottom * fy)) << shift;
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  // An optional argument draws only that size, larger.
  const int only = argc > 1 ? std::atoi(argv[1]) : 0;
  const int Zoom = only ? 12 : 5;
  constexpr int Gap = 4, Cell = 32 + Gap;
  constexpr Color Light = 0xF3F3F3, Dark = 0x202020;
  const Color grids[2] = {0x383838, 0xD0D0D0};  // the default grid on each taskbar
  const int columns = 3 * 2 * (only ? 1 : static_cast<int>(TrayIconSizes.size()));
  const int width = columns * Cell * Zoom, height = 3 * Cell * Zoom;
  std::vector<Color> sheet(static_cast<size_t>(width) * height, 0x808080);
  for (int row = 0; row < 3; ++row) {
    const int marks = row == 0 || row == 2 ? 0 : 1;
    const bool stretched = row == 2;
    int column = 0;
    for (int size : TrayIconSizes) {
      if (only && size != only) continue;
      for (int theme = 0; theme < 2; ++theme) {
        TrayIconSettings settings{{1, 2, 0}, {0x0000FF, 0x00C000, 0xFF0000}, grids[theme], marks == 0};
        const auto icons =
            ComposeTrayIcons(settings, {false, true, false}, DefaultTransparentColor, stretched ? 16 : size);
        for (const MaskedImage& icon : icons) {
          const int left = column++ * Cell * Zoom, top = row * Cell * Zoom;
          for (int y = 0; y < 32 * Zoom; ++y)
            for (int x = 0; x < 32 * Zoom; ++x) {
              const int px = x / Zoom, py = y / Zoom;
              const Color background = theme == 0 ? Light : Dark;
              Color color = background;
              if (px < size && py < size)
                color = stretched ? Stretched(icon, size, px, py, background) : OnBackground(icon, px, py, background);
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
