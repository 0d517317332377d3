// Benchmark: the native core's tray icon composition, the three images of one
// lock change (current state, all lit, none lit). Prints microseconds per set.
//
// Usage: compose_bench [SETS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/icon_composer.h"

using namespace lumitrax::core;

int main(int argc, char** argv) {
  const int sets = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  TrayIconSettings settings;
  settings.LedLocks = {1, 2, 3};
  settings.LedColors = {0x00FF00, 0x00C0FF, 0x0000FF};
  settings.GridColor = 0x404040;
  settings.IconMarks = true;
  const Color transparent = TransparentColorFor(settings);
  // Five rounds; the best one is the figure (the others saw other programs run).
  std::vector<double> rounds;
  unsigned checksum = 0;
  for (int round = 0; round < 5; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < sets; ++i) {
      const LockStates locks{(i & 1) != 0, (i & 2) != 0, (i & 4) != 0};
      const auto images = ComposeTrayIcons(settings, locks, transparent);
      checksum += static_cast<unsigned>(images.size());
    }
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    rounds.push_back(elapsed.count() / sets);
  }
  std::printf("sets %d (x5, checksum %u) us_per_set %.2f\n", sets, checksum, *std::min_element(rounds.begin(), rounds.end()));
  return 0;
}
