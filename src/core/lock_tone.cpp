#include "core/lock_tone.h"

#include <cmath>
#include <numbers>

namespace lumitrax::core {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<int16_t> ToneSamples(bool rising) {
  const int count = ToneSampleRate * ToneDurationMs / 1000;
  const int fade = ToneSampleRate * ToneFadeMs / 1000;
  const double from = rising ? ToneLowHz : ToneHighHz;
  const double to = rising ? ToneHighHz : ToneLowHz;
  std::vector<int16_t> samples(static_cast<size_t>(count));
  double phase = 0.0;
  for (int i = 0; i < count; ++i) {
    // The pitch glides evenly from one end to the other; the phase adds up,
    // so the wave never jumps.
    const double progress = static_cast<double>(i) / (count - 1);
    const double frequency = from + (to - from) * progress;
    // Raised-cosine edges: zero at the first and the last sample.
    double envelope = 1.0;
    const int from_edge = std::min(i, count - 1 - i);
    if (from_edge < fade) envelope = 0.5 - 0.5 * std::cos(std::numbers::pi * from_edge / fade);
    samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(ToneAmplitude * envelope * std::sin(phase)));
    phase += 2.0 * std::numbers::pi * frequency / ToneSampleRate;
  }
  return samples;
}

std::vector<uint8_t> ToneWaveFile(bool rising) {
  const std::vector<int16_t> samples = ToneSamples(rising);
  const uint32_t data_size = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> file;
  file.reserve(44 + data_size);
  PutTag(file, "RIFF");
  Put32(file, 36 + data_size);
  PutTag(file, "WAVE");
  PutTag(file, "fmt ");
  Put32(file, 16);
  Put16(file, 1);  // PCM
  Put16(file, 1);  // mono
  Put32(file, ToneSampleRate);
  Put32(file, ToneSampleRate * 2);  // bytes per second
  Put16(file, 2);                   // bytes per frame
  Put16(file, 16);                  // bits per sample
  PutTag(file, "data");
  Put32(file, data_size);
  for (const int16_t sample : samples) Put16(file, static_cast<uint16_t>(sample));
  return file;
}

std::optional<bool> ToneRises(const std::array<bool, 3>& before, const std::array<bool, 3>& after) {
  for (size_t i = 0; i < before.size(); ++i)
    if (before[i] != after[i]) return after[i];
  return std::nullopt;
}

}  // namespace lumitrax::core
