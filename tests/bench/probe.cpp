// The measuring hand of scripts/benchmarks.sh: acts on a running Lumitrax.exe
// from another process, as a user would, and prints what it sees.
//
//   probe wait-window CLASS [TIMEOUT_MS]   waits for a visible top-level window
//   probe wait-hidden CLASS [TIMEOUT_MS]   waits until no such window is visible
//   probe close CLASS                      closes the window (the settings window hides)
//   probe point-at CLASS TEXT              rests the pointer on the control with that text
//   probe point-away                       rests the pointer in the desktop's top-left corner
//   probe latency PRESSES                  Caps Lock presses to the display shown or hidden
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string_view>
#include <vector>

namespace {

double NowMs() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class Condition>
bool WaitFor(Condition condition, double timeout_ms, DWORD pause_ms = 10) {
  const double start = NowMs();
  while (!condition()) {
    if (NowMs() - start > timeout_ms) return false;
    ::Sleep(pause_ms);
  }
  return true;
}

HWND FindVisible(const wchar_t* class_name) {
  struct Search {
    const wchar_t* class_name;
    HWND found;
  } search{class_name, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t name[128] = {};
        ::GetClassNameW(window, name, 128);
        if (std::wcscmp(name, s->class_name) != 0) return TRUE;
        s->found = window;
        return ::IsWindowVisible(window) ? FALSE : TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Visible(HWND window) { return window && ::IsWindowVisible(window); }

HWND FindChildByText(HWND parent, const wchar_t* text) {
  struct Search {
    const wchar_t* text;
    HWND found;
  } search{text, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t caption[256] = {};
        ::GetWindowTextW(window, caption, 256);
        if (std::wcscmp(caption, s->text) != 0) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void PressCapsLock() {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = VK_CAPITAL;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

// Every press toggles Caps Lock, so the display appears and disappears in
// turn; the time is taken from the key event to the change of its
// visibility, looked at every millisecond. (Window events would tell it
// without looking, but Wine does not pass them to another process.)
int Latency(int presses) {
  HWND osd = nullptr;
  if (!WaitFor([&] { return (osd = ::FindWindowW(L"TfrmOsd", nullptr)) != nullptr; }, 15000)) {
    std::printf("no display window\n");
    return 1;
  }
  std::vector<double> times;
  for (int i = 0; i < presses; ++i) {
    // A quiet moment between presses, like a typist's.
    ::Sleep(150);
    const bool before = Visible(osd);
    const double start = NowMs();
    PressCapsLock();
    if (WaitFor([&] { return Visible(osd) != before; }, 3000, 1)) times.push_back(NowMs() - start);
  }
  if (::GetKeyState(VK_CAPITAL) & 1) PressCapsLock();
  if (times.empty()) {
    std::printf("no press changed the display\n");
    return 1;
  }
  std::sort(times.begin(), times.end());
  const auto at = [&](double q) { return times[std::min(times.size() - 1, static_cast<size_t>(q * times.size()))]; };
  std::printf("presses %d seen %zu median_ms %.2f p95_ms %.2f worst_ms %.2f\n", presses, times.size(), at(0.5),
              at(0.95), times.back());
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring_view command = argv[1];
  const double timeout = argc > 3 ? std::wcstod(argv[3], nullptr) : 20000;
  if (command == L"wait-window" && argc > 2)
    return WaitFor([&] { return Visible(FindVisible(argv[2])); }, timeout) ? 0 : 1;
  if (command == L"wait-hidden" && argc > 2)
    return WaitFor([&] { return !Visible(FindVisible(argv[2])); }, timeout) ? 0 : 1;
  if (command == L"close" && argc > 2) {
    const HWND window = FindVisible(argv[2]);
    if (!window) return 1;
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitFor([&] { return !Visible(window); }, 10000) ? 0 : 1;
  }
  if (command == L"point-at" && argc > 3) {
    const HWND control = FindChildByText(FindVisible(argv[2]), argv[3]);
    if (!control) return 1;
    RECT place{};
    ::GetWindowRect(control, &place);
    // The pointer moves in steps onto the control, so it sees the mouse arrive.
    const int x = (place.left + place.right) / 2, y = (place.top + place.bottom) / 2;
    for (int step = 1; step <= 4; ++step) {
      ::SetCursorPos(x - 8 + 2 * step, y);
      ::Sleep(50);
    }
    return 0;
  }
  if (command == L"point-away") return ::SetCursorPos(0, 0) ? 0 : 1;
  if (command == L"latency") return Latency(argc > 2 ? std::max(1, _wtoi(argv[2])) : 50);
  return 2;
}
