#pragma once
// Colours as the colour pickers hold them: 0x00BBGGRR for a plain colour (red in
// the low byte, the layout of a Windows COLORREF). A non-zero high byte marks a
// system colour index or one of the special values (no colour, default colour).
#include <cstdint>

namespace lumitrax::core {

using Color = std::uint32_t;

// The red, green and blue part of a colour as a pixel holds it: the high byte
// dropped. System colours must be turned into RGB before they reach a pixel.
constexpr Color PlainColor(Color color) { return color & 0x00FFFFFFu; }

}  // namespace lumitrax::core
