#pragma once
// Helpers for tests that drive real windows in this process.
#include <windows.h>

#include <functional>
#include <string>

namespace lumitrax::testing {

// Runs the application's message loop until done() holds or the time is up;
// returns done() at the end.
bool RunUntil(const std::function<bool()>& done, DWORD timeout_ms);

// Runs the message loop for a while.
void Pump(DWORD ms);

// The full path of a file beside the test executable.
std::wstring BesideTestExe(const std::wstring& file_name);

// The text of a window.
std::wstring WindowText(HWND window);

}  // namespace lumitrax::testing
