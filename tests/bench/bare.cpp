// The bare program: a hidden window and a message loop, built and linked like
// Lumitrax.exe. Its wake-ups and memory are the floor every figure of the
// program is measured against.
//
//   bare_bench.exe           nothing but the loop
//   bare_bench.exe guard     plus a 1300 ms timer that reads the keyboard state,
//                            the least any lock guard can cost
//   bare_bench.exe guard3    the same reading each lock key on its own
//   bare_bench.exe guardpeek the same with a peek-and-wait message loop
//   bare_bench.exe guardwait the reading on a timed-out wait for messages, no timer
#include <windows.h>

#include <cwchar>

namespace {

int mode = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    if (mode == 2) {
      volatile SHORT states = ::GetKeyState(VK_NUMLOCK) ^ ::GetKeyState(VK_CAPITAL) ^ ::GetKeyState(VK_SCROLL);
      (void)states;
    } else {
      BYTE keys[256];
      ::GetKeyboardState(keys);
    }
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  if (std::wcscmp(command_line, L"guard") == 0) mode = 1;
  if (std::wcscmp(command_line, L"guard3") == 0) mode = 2;
  if (std::wcscmp(command_line, L"guardpeek") == 0) mode = 3;
  if (std::wcscmp(command_line, L"guardwait") == 0) mode = 4;
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = L"LumitraxBare";
  ::RegisterClassW(&window_class);
  const HWND window = ::CreateWindowExW(0, L"LumitraxBare", L"Bare", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                        nullptr, instance, nullptr);
  MSG msg;
  if (mode == 4) {
    for (;;) {
      if (::MsgWaitForMultipleObjectsEx(0, nullptr, 1300, QS_ALLINPUT, 0) == WAIT_TIMEOUT) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        continue;
      }
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return 0;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
  }
  if (mode) ::SetTimer(window, 1, 1300, nullptr);
  if (mode == 3) {
    for (;;) {
      if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::WaitMessage();
        continue;
      }
      if (msg.message == WM_QUIT) break;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    return 0;
  }
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
