#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace lumitrax::core {

// Four version numbers joined by dots: {2, 5, 0, 51} -> "2.5.0.51".
std::string FormatVersion(const std::array<uint16_t, 4>& parts);

}  // namespace lumitrax::core
