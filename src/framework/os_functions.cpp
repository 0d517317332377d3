#include "framework/os_functions.h"

#include <string>

#include "framework/handles.h"

namespace lumitrax::os {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
// The second parameter is a MONITOR_DPI_TYPE; 0 is MDT_EFFECTIVE_DPI.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;
using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, const void*, DWORD);

struct LaterFunctions {
  GetDpiForWindowFn dpi_for_window = nullptr;
  GetDpiForSystemFn dpi_for_system = nullptr;
  GetSystemMetricsForDpiFn system_metrics_for_dpi = nullptr;
  AdjustWindowRectExForDpiFn adjust_window_rect_ex_for_dpi = nullptr;
  SystemParametersInfoForDpiFn system_parameters_info_for_dpi = nullptr;
  GetDpiForMonitorFn dpi_for_monitor = nullptr;
  DwmSetWindowAttributeFn dwm_set_window_attribute = nullptr;
};

template <typename Fn>
Fn Find(HMODULE module, const char* name) {
  if (!module) return nullptr;
  // Through void(*)(), the one function type a cast from FARPROC may pass.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

LaterFunctions Resolve() {
  LaterFunctions found;
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  found.dpi_for_window = Find<GetDpiForWindowFn>(user32, "GetDpiForWindow");
  found.dpi_for_system = Find<GetDpiForSystemFn>(user32, "GetDpiForSystem");
  found.system_metrics_for_dpi = Find<GetSystemMetricsForDpiFn>(user32, "GetSystemMetricsForDpi");
  found.adjust_window_rect_ex_for_dpi = Find<AdjustWindowRectExForDpiFn>(user32, "AdjustWindowRectExForDpi");
  found.system_parameters_info_for_dpi =
      Find<SystemParametersInfoForDpiFn>(user32, "SystemParametersInfoForDpi");
  // shcore.dll exists from Windows 8.1 on; loaded from the system folder only,
  // and kept for the life of the process.
  wchar_t system[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    const std::wstring path = std::wstring(system, length) + L"\\shcore.dll";
    found.dpi_for_monitor = Find<GetDpiForMonitorFn>(::LoadLibraryW(path.c_str()), "GetDpiForMonitor");
    const std::wstring dwm = std::wstring(system, length) + L"\\dwmapi.dll";
    found.dwm_set_window_attribute =
        Find<DwmSetWindowAttributeFn>(::LoadLibraryW(dwm.c_str()), "DwmSetWindowAttribute");
  }
  return found;
}

bool hidden_for_testing = false;

// Resolved at the first call, on the GUI thread, and kept.
const LaterFunctions& Later() {
  static const LaterFunctions found = Resolve();
  static const LaterFunctions none;
  return hidden_for_testing ? none : found;
}

int ScaleFromSystem(int value, UINT dpi) {
  const UINT system = DpiForSystem();
  if (dpi == 0 || dpi == system) return value;
  return ::MulDiv(value, static_cast<int>(dpi), static_cast<int>(system));
}

void ScaleFont(LOGFONTW& font, UINT dpi) { font.lfHeight = ScaleFromSystem(font.lfHeight, dpi); }

}  // namespace

bool UseImmersiveDarkMode(HWND window, bool dark) {
  const auto set = Later().dwm_set_window_attribute;
  if (!set || !window) return false;
  const BOOL value = dark ? TRUE : FALSE;
  // DWMWA_USE_IMMERSIVE_DARK_MODE, documented as 20 from Windows 11 build
  // 22000 on (Windows 10 from build 18985 accepts it too). Earlier Windows 10
  // builds knew the attribute only under an undocumented number, which we do
  // not use: there the title bar stays light.
  constexpr DWORD kImmersiveDarkMode = 20;
  return SUCCEEDED(set(window, kImmersiveDarkMode, &value, sizeof value));
}

UINT DpiForWindow(HWND window) {
  if (!window) return 0;
  if (const auto fn = Later().dpi_for_window) return fn(window);
  // Windows 8.1: a per-monitor aware window takes its monitor's scale.
  return DpiForMonitor(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

UINT DpiForSystem() {
  if (const auto fn = Later().dpi_for_system) return fn();
  WindowDc screen(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT DpiForMonitor(HMONITOR monitor) {
  if (const auto fn = Later().dpi_for_monitor) {
    UINT dpi_x = 0, dpi_y = 0;
    if (monitor && SUCCEEDED(fn(monitor, kEffectiveDpi, &dpi_x, &dpi_y)) && dpi_y) return dpi_y;
  }
  return DpiForSystem();
}

int SystemMetricsForDpi(int index, UINT dpi) {
  if (const auto fn = Later().system_metrics_for_dpi) return fn(index, dpi);
  return ScaleFromSystem(::GetSystemMetrics(index), dpi);
}

bool AdjustWindowRectExForDpi(RECT* rect, DWORD style, bool menu, DWORD ex_style, UINT dpi) {
  if (const auto fn = Later().adjust_window_rect_ex_for_dpi)
    return fn(rect, style, menu ? TRUE : FALSE, ex_style, dpi) != FALSE;
  return ::AdjustWindowRectEx(rect, style, menu ? TRUE : FALSE, ex_style) != FALSE;
}

bool SystemParametersInfoForDpi(UINT action, UINT param, void* data, UINT dpi) {
  if (const auto fn = Later().system_parameters_info_for_dpi) return fn(action, param, data, 0, dpi) != FALSE;
  if (!::SystemParametersInfoW(action, param, data, 0)) return false;
  if (action == SPI_GETNONCLIENTMETRICS) {
    auto& metrics = *static_cast<NONCLIENTMETRICSW*>(data);
    for (int* size : {&metrics.iBorderWidth, &metrics.iScrollWidth, &metrics.iScrollHeight,
                      &metrics.iCaptionWidth, &metrics.iCaptionHeight, &metrics.iSmCaptionWidth,
                      &metrics.iSmCaptionHeight, &metrics.iMenuWidth, &metrics.iMenuHeight})
      *size = ScaleFromSystem(*size, dpi);
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                           &metrics.lfStatusFont, &metrics.lfMessageFont})
      ScaleFont(*font, dpi);
  } else if (action == SPI_GETICONTITLELOGFONT) {
    ScaleFont(*static_cast<LOGFONTW*>(data), dpi);
  }
  return true;
}

namespace {
DWORD build_for_testing = 0;
}  // namespace

DWORD WindowsBuild() {
  if (build_for_testing) return build_for_testing;
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  return ::GetVersionExW(&info) ? info.dwBuildNumber : 0;
}

void ReportWindowsBuildForTesting(DWORD build) { build_for_testing = build; }

void HideLaterFunctionsForTesting(bool hidden) { hidden_for_testing = hidden; }

}  // namespace lumitrax::os
