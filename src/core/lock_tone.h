#pragma once
// The tones that tell on from off without a look: a short rising tone when a
// lock turns on, a falling one when it turns off. Synthesised in memory as a
// complete 16-bit mono PCM wave file that the system plays from there; a
// soft start and end keep them from clicking.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace lumitrax::core {

inline constexpr int ToneSampleRate = 22050;
inline constexpr int ToneDurationMs = 90;
inline constexpr int ToneFadeMs = 12;        // the soft start and the soft end, each
inline constexpr double ToneLowHz = 660.0;   // a fifth apart
inline constexpr double ToneHighHz = 990.0;
inline constexpr int16_t ToneAmplitude = 12000;

// The samples: rising from the low to the high pitch, or falling.
std::vector<int16_t> ToneSamples(bool rising);

// The samples as a RIFF WAVE file, header and all.
std::vector<uint8_t> ToneWaveFile(bool rising);

// Which tone an update of the lock states plays: the first lock in the order
// Num, Caps, Scroll that changed decides (on: rising). None without a change.
std::optional<bool> ToneRises(const std::array<bool, 3>& before, const std::array<bool, 3>& after);

}  // namespace lumitrax::core
