#include "core/lock_tone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace lumitrax::core {
namespace {

// Upward zero crossings per second between two sample indices: the pitch there.
double PitchHz(const std::vector<int16_t>& samples, size_t from, size_t to) {
  int crossings = 0;
  for (size_t i = from + 1; i < to; ++i)
    if (samples[i - 1] < 0 && samples[i] >= 0) ++crossings;
  return crossings * static_cast<double>(ToneSampleRate) / static_cast<double>(to - from);
}

int Peak(const std::vector<int16_t>& samples, size_t from, size_t to) {
  int peak = 0;
  for (size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  return peak;
}

uint32_t Read32(const std::vector<uint8_t>& file, size_t at) {
  return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (static_cast<uint32_t>(file[at + 3]) << 24);
}

TEST(LockTone, BothTonesLastWellUnder150Milliseconds) {
  for (bool rising : {true, false}) {
    const auto samples = ToneSamples(rising);
    const double ms = 1000.0 * static_cast<double>(samples.size()) / ToneSampleRate;
    EXPECT_GE(ms, 60.0);
    EXPECT_LE(ms, 120.0);
  }
}

TEST(LockTone, TheRisingToneGoesUpAndTheFallingOneDown) {
  const auto up = ToneSamples(true), down = ToneSamples(false);
  const size_t n = up.size(), quarter = n / 4;
  const double up_start = PitchHz(up, 0, quarter + quarter / 2), up_end = PitchHz(up, n - quarter - quarter / 2, n);
  const double down_start = PitchHz(down, 0, quarter + quarter / 2),
               down_end = PitchHz(down, n - quarter - quarter / 2, n);
  EXPECT_GT(up_end, up_start * 1.15) << up_start << " -> " << up_end;
  EXPECT_LT(down_end, down_start / 1.15) << down_start << " -> " << down_end;
  // Audible, in the range where small speakers still sound.
  for (double pitch : {up_start, up_end, down_start, down_end}) {
    EXPECT_GT(pitch, 400.0);
    EXPECT_LT(pitch, 1500.0);
  }
}

TEST(LockTone, ItStartsAndEndsSoftlySoThatItDoesNotClick) {
  for (bool rising : {true, false}) {
    const auto samples = ToneSamples(rising);
    const size_t n = samples.size();
    const size_t ms = ToneSampleRate / 1000;
    // The first and last sample are silence, the first and last millisecond nearly.
    EXPECT_EQ(samples.front(), 0);
    EXPECT_EQ(samples.back(), 0);
    EXPECT_LT(Peak(samples, 0, ms), ToneAmplitude / 20);
    EXPECT_LT(Peak(samples, n - ms, n), ToneAmplitude / 20);
    // Full strength in the middle, and never beyond.
    EXPECT_GT(Peak(samples, n / 2 - 2 * ms, n / 2 + 2 * ms), ToneAmplitude * 95 / 100);
    EXPECT_LE(Peak(samples, 0, n), ToneAmplitude);
    // The fade-in grows millisecond by millisecond, the fade-out shrinks.
    for (size_t at = 0; at + 2 * ms <= 10 * ms; at += ms) {
      EXPECT_LE(Peak(samples, at, at + ms), Peak(samples, at + ms, at + 2 * ms) + 200) << at;
      EXPECT_GE(Peak(samples, n - at - 2 * ms, n - at - ms) + 200, Peak(samples, n - at - ms, n - at)) << at;
    }
    // No sample leaps: the largest step stays that of the highest pitch at full strength.
    int step = 0;
    for (size_t i = 1; i < n; ++i) step = std::max(step, std::abs(samples[i] - samples[i - 1]));
    EXPECT_LT(step, ToneAmplitude * 2 * 3.1416 * ToneHighHz / ToneSampleRate + 2);
  }
}

TEST(LockTone, TheWaveFileIsSixteenBitMonoPcmHoldingTheSamples) {
  const auto file = ToneWaveFile(true);
  const auto samples = ToneSamples(true);
  ASSERT_EQ(file.size(), 44 + 2 * samples.size());
  EXPECT_EQ(std::memcmp(file.data(), "RIFF", 4), 0);
  EXPECT_EQ(Read32(file, 4), file.size() - 8);
  EXPECT_EQ(std::memcmp(file.data() + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(Read32(file, 16), 16u);
  EXPECT_EQ(file[20] | (file[21] << 8), 1);   // PCM
  EXPECT_EQ(file[22] | (file[23] << 8), 1);   // mono
  EXPECT_EQ(Read32(file, 24), static_cast<uint32_t>(ToneSampleRate));
  EXPECT_EQ(Read32(file, 28), static_cast<uint32_t>(ToneSampleRate * 2));
  EXPECT_EQ(file[34] | (file[35] << 8), 16);  // bits
  EXPECT_EQ(std::memcmp(file.data() + 36, "data", 4), 0);
  EXPECT_EQ(Read32(file, 40), 2 * samples.size());
  const size_t middle = samples.size() / 2;
  EXPECT_EQ(static_cast<int16_t>(file[44 + 2 * middle] | (file[45 + 2 * middle] << 8)), samples[middle]);
}

TEST(LockTone, TheFirstLockThatChangedInTheOrderNumCapsScrollDecides) {
  EXPECT_EQ(ToneRises({false, false, false}, {false, true, false}), true);
  EXPECT_EQ(ToneRises({false, true, false}, {false, false, false}), false);
  // Num turned on and Caps off in one update: Num decides.
  EXPECT_EQ(ToneRises({false, true, false}, {true, false, false}), true);
  // Caps off and Scroll on: Caps decides.
  EXPECT_EQ(ToneRises({true, true, false}, {true, false, true}), false);
  EXPECT_EQ(ToneRises({true, false, true}, {true, false, true}), std::nullopt);
}

}  // namespace
}  // namespace lumitrax::core
