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

// Whether the tests run under Wine rather than on Windows itself (Wine's
// ntdll exports wine_get_version). Only for what Wine cannot do the way
// Windows does; a test then checks what each of them does.
bool RunningUnderWine();

// The full path of a file beside the test executable.
std::wstring BesideTestExe(const std::wstring& file_name);

// The text of a window.
std::wstring WindowText(HWND window);

// A press and release of a key through the system's input, optionally with Alt held.
void PressKey(WORD key, bool with_alt = false);

// Puts a lock (LockKind 1..3, switched by `key`) into a known state through the
// real keyboard. This thread's key state follows only the keys its own windows
// get, so a window of the thread takes the keyboard first.
void SetLock(WORD key, int kind, bool on);

}  // namespace lumitrax::testing
