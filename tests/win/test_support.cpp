#include "test_support.h"

#include "framework/application.h"
#include <vector>

#include "framework/version_info.h"
#include "indicator/lock_state.h"

namespace lumitrax::testing {

bool RunUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
  // A short timer keeps the loop waking up so the deadline is checked.
  const UINT_PTR tick = ::SetTimer(nullptr, 0, 10, nullptr);
  Application().ModalLoop([&] { return done() || ::GetTickCount64() >= deadline; });
  ::KillTimer(nullptr, tick);
  return done();
}

void Pump(DWORD ms) {
  RunUntil([] { return false; }, ms);
}

bool RunningUnderWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring BesideTestExe(const std::wstring& file_name) {
  std::wstring path = GetModulePath();
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + file_name;
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

void PressKey(WORD key, bool with_alt) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  if (with_alt) add(VK_MENU, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  if (with_alt) add(VK_MENU, KEYEVENTF_KEYUP);
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {

HWND KeyboardWindow() {
  static HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"keys", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                         nullptr, nullptr, nullptr, nullptr);
  return window;
}

}  // namespace

void SetLock(WORD key, int kind, bool on) {
  if (GetLockState(kind) == on) return;
  ::SetForegroundWindow(KeyboardWindow());
  PressKey(key);
  RunUntil([&] { return GetLockState(kind) == on; }, 2000);
}

}  // namespace lumitrax::testing
