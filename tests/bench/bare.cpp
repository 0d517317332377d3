// The bare program: a hidden window and a message loop, built and linked like
// Lumitrax.exe. Its wake-ups and memory are the floor every figure of the
// program is measured against.
//
//   bare_bench.exe         nothing but the loop
//   bare_bench.exe guard   plus a 1300 ms timer that reads the keyboard state:
//                          what a lock guard costs at the least
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    // As the guard reads: one key, which brings the thread's key state up to
    // date, then the whole state.
    BYTE keys[256];
    if (::GetKeyState(VK_NUMLOCK) & 1) keys[0] = 1;
    ::GetKeyboardState(keys);
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = L"LumitraxBare";
  ::RegisterClassW(&window_class);
  const HWND window = ::CreateWindowExW(0, L"LumitraxBare", L"Bare", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                        nullptr, instance, nullptr);
  if (std::wcscmp(command_line, L"guard") == 0) ::SetTimer(window, 1, 1300, nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
