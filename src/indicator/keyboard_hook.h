#pragma once
// The system-wide low-level keyboard hook. It only compares and posts: a hook
// that takes too long is silently removed by Windows, so the guard timer and
// the periodic re-install are what keep the indicator trustworthy.
#include <windows.h>

namespace lumitrax {

// Posted to the main window when a lock key goes down; wParam = the virtual key.
constexpr UINT WM_LOCKKEY = 9755;

// Points the hook at the window and installs it (replacing an installed one).
void InstallKeyboardHook(HWND target);
void RemoveKeyboardHook();
// The window the hook posts to; follows every re-creation of the main window.
void SetKeyboardHookTarget(HWND target);
bool KeyboardHookInstalled();

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wparam, LPARAM lparam);

}  // namespace lumitrax
