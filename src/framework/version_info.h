#pragma once
#include <string>

namespace lumitrax {

// The file version of an executable as four dot-separated decimal numbers,
// or an empty string when the file carries no version information.
std::wstring GetFileVersionString(const std::wstring& file_name);

// The full path of the running program's executable.
std::wstring GetModulePath();

}  // namespace lumitrax
