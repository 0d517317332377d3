#pragma once
// Colours as the colour pickers hold them: 0x00BBGGRR for a plain colour (red in
// the low byte, the layout of a Windows COLORREF); a high byte of 0xFF marks a
// system colour index; clNone and clDefault are the two special values.
#include <cstdint>

namespace lumitrax::core {

using Color = uint32_t;

inline constexpr Color clNone = 0x1FFFFFFF;
inline constexpr Color clDefault = 0x20000000;

constexpr bool IsSystemColor(Color color) { return (color & 0xFF000000u) == 0xFF000000u; }

// The red, green and blue part of a colour as a pixel holds it: the high byte
// dropped. System colours must be turned into RGB before they reach a pixel.
constexpr Color PlainColor(Color color) { return color & 0x00FFFFFFu; }

}  // namespace lumitrax::core
