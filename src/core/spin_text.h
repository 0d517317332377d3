#pragma once
// The spin edit's text rules: which typed characters it takes, what a changed
// text becomes, and where an arrow click moves the position.
#include <optional>
#include <string>
#include <string_view>

namespace lumitrax::core {

// Decimal: the digits and "-"; hexadecimal: the hexadecimal digits. Control
// characters (backspace, the clipboard keys) always pass.
bool AcceptSpinChar(char32_t ch, bool is_hex);

// A whole decimal number with an optional sign, or nothing.
std::optional<int> ParseSpinNumber(std::string_view text);

// The text a decimal spin edit holds after its text changed to `text`: no value
// leaves the text as it is ("" and "-" while the user types); otherwise the
// number (or `position` when the text is no number) clamped to min..max.
std::optional<std::string> ClampSpinText(std::string_view text, int min, int max, int position);

// An arrow click: the position moved by `delta`, kept within min..max.
int StepSpinPosition(int position, int delta, int min, int max);

}  // namespace lumitrax::core
