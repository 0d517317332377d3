#include "core/version.h"

namespace lumitrax::core {

std::string FormatVersion(const std::array<uint16_t, 4>& parts) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) text += '.';
    text += std::to_string(parts[i]);
  }
  return text;
}

}  // namespace lumitrax::core
