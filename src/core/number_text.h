#pragma once
// Integers as text without the C library's printf: the program formats a
// handful of numbers, and printf's machinery would be most of its runtime.
#include <charconv>
#include <string>

namespace lumitrax::core {

// `value` in the base, padded with zeros to at least `width` digits, in
// capitals when asked ("%0*X", "%0*x", "%0*d" of printf).
inline std::string PaddedNumber(long long value, int width, int base = 10, bool capitals = false) {
  char digits[72];
  const auto result = std::to_chars(digits, digits + sizeof digits, value < 0 ? -value : value, base);
  std::string text(digits, result.ptr);
  if (capitals)
    for (char& c : text)
      if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), '0');
  if (value < 0) text.insert(0, 1, '-');
  return text;
}

}  // namespace lumitrax::core
