#pragma once
// The functions of Windows later than Windows 7 that the program uses,
// resolved at run time once, each with its Windows 7 fallback beside it.
// The program is compiled against the Windows 7 headers, so a direct call of
// one of these cannot creep back in; the import-table check of the tests
// (scripts/check-imports.sh) makes sure of it in the linked exe.
#include <windows.h>

namespace lumitrax::os {

// The window's DPI (GetDpiForWindow, Windows 10 1607). Fallback: the DPI of
// the window's monitor (Windows 8.1), else the system DPI. 0 for no window.
UINT DpiForWindow(HWND window);
// The system DPI (GetDpiForSystem). Fallback: LOGPIXELSY of the screen.
UINT DpiForSystem();
// The effective DPI of a monitor (GetDpiForMonitor of shcore.dll, Windows
// 8.1). Fallback: the system DPI.
UINT DpiForMonitor(HMONITOR monitor);
// GetSystemMetricsForDpi. Fallback: GetSystemMetrics, scaled from the system
// DPI when another DPI is asked for (ask only for sizes then).
int SystemMetricsForDpi(int index, UINT dpi);
// AdjustWindowRectExForDpi. Fallback: AdjustWindowRectEx (the system DPI's
// frame: on Windows 7 every window has the system DPI).
bool AdjustWindowRectExForDpi(RECT* rect, DWORD style, bool menu, DWORD ex_style, UINT dpi);
// SystemParametersInfoForDpi (its flags are always 0). Fallback:
// SystemParametersInfoW; for SPI_GETNONCLIENTMETRICS and SPI_GETICONTITLELOGFONT
// at another DPI than the system's, the sizes and font heights are scaled.
bool SystemParametersInfoForDpi(UINT action, UINT param, void* data, UINT dpi);

// The window's title bar in the dark or light mode (DwmSetWindowAttribute
// with DWMWA_USE_IMMERSIVE_DARK_MODE, documented from Windows 11 on). Fallback:
// nothing (false); the title bar stays as the system draws it.
bool UseImmersiveDarkMode(HWND window, bool dark);

// The build number of the running Windows (22000 and later: Windows 11). The
// manifest names Windows 10, so the system reports its true version.
DWORD WindowsBuild();
// Tests: report this build instead (0: the real one again).
void ReportWindowsBuildForTesting(DWORD build);

// Tests: behave as on a Windows that has none of the later functions (true),
// or use what this Windows has (false, the default).
void HideLaterFunctionsForTesting(bool hidden);

}  // namespace lumitrax::os
