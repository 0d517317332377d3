#pragma once
// Asking the running instance to quit from outside ("Lumitrax.exe /exit"), as
// installers, uninstallers and users' scripts need.
#include <windows.h>

#include <string>

namespace lumitrax {

// Posted to the running instance's application window: quit through the
// normal exit path (settings saved, tray icon removed) without asking.
constexpr UINT WM_EXITINSTANCE = 35558;

// How long "/exit" waits for the running instance to end.
constexpr DWORD kExitWaitMs = 15000;

// Finds the running instance of this user through the single-instance guard,
// asks it to quit and waits up to timeout_ms for its process to end. Returns
// the process exit code: 0 when no instance runs (any more), 1 when one still
// runs after the time limit, kExitRefused at once when it refused the request
// (said on the standard error, when there is one). Starts nothing. The
// application title must be set; `identifier` is the guard's (tests).
constexpr int kExitRefused = 2;
int ExitRunningInstance(DWORD timeout_ms, const std::wstring& identifier = std::wstring());

}  // namespace lumitrax
