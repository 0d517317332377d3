#pragma once
// Conversions between the core's UTF-8 text and the UTF-16 text of the Windows API.
#include <string>
#include <string_view>

namespace lumitrax {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// printf-style formatting of a single "%s" with a wide argument, as the
// program's error texts use ("Failed to set data for '%s'").
std::wstring FormatMessageText(std::wstring_view pattern, std::wstring_view argument);

}  // namespace lumitrax
