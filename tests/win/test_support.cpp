#include "test_support.h"

#include "framework/application.h"
#include "framework/version_info.h"

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

}  // namespace lumitrax::testing
