#include "core/spin_text.h"

#include <algorithm>
#include <charconv>

namespace lumitrax::core {

bool AcceptSpinChar(char32_t ch, bool is_hex) {
  if (ch < 0x20 || ch == 0x7F) return true;
  if (ch >= U'0' && ch <= U'9') return true;
  if (is_hex) return (ch >= U'a' && ch <= U'f') || (ch >= U'A' && ch <= U'F');
  return ch == U'-';
}

std::optional<int> ParseSpinNumber(std::string_view text) {
  // One sign at most: a "+" is dropped here, a "-" is left to the conversion.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  if (text.empty() || text.front() == '+') return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::string> ClampSpinText(std::string_view text, int min, int max, int position) {
  if (text.empty() || text == "-") return std::nullopt;
  const int value = ParseSpinNumber(text).value_or(position);
  return std::to_string(std::clamp(value, min, std::max(min, max)));
}

int StepSpinPosition(int position, int delta, int min, int max) {
  const long long moved = static_cast<long long>(position) + delta;
  return static_cast<int>(std::clamp<long long>(moved, min, std::max(min, max)));
}

}  // namespace lumitrax::core
