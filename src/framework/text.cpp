#include "framework/text.h"

#include <windows.h>

namespace lumitrax {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring result(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(), size);
  return result;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), result.data(), size, nullptr,
                        nullptr);
  return result;
}

std::wstring FormatMessageText(std::wstring_view pattern, std::wstring_view argument) {
  std::wstring result(pattern);
  const size_t at = result.find(L"%s");
  if (at != std::wstring::npos) result.replace(at, 2, argument);
  return result;
}

}  // namespace lumitrax
