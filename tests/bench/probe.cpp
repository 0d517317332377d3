// The measuring hand of scripts/benchmarks.sh: acts on a running Lumitrax.exe
// from another process, as a user would, and prints what it sees.
//
//   probe wait-window CLASS [TIMEOUT_MS]   waits for a visible top-level window
//   probe wait-hidden CLASS [TIMEOUT_MS]   waits until no such window is visible
//   probe close CLASS                      closes the window (the settings window hides)
//   probe point-at CLASS TEXT              rests the pointer on the control with that text
//   probe point-away                       rests the pointer in the desktop's top-left corner
//   probe latency PRESSES                  Caps Lock presses to the display shown or hidden
//   probe key-latency PRESSES PORT         an ordinary key to the probe's own window, with
//                                          Lumitrax idle, then while its ping hangs on PORT
#include <winsock2.h>
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

// The probe's own window, which has the keyboard: the moment each key-down arrives.
double g_key_down_at = 0;
bool g_key_up_seen = false;

LRESULT CALLBACK KeyWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_KEYDOWN && wparam == 'A' && g_key_down_at == 0) g_key_down_at = NowMs();
  if (message == WM_KEYUP && wparam == 'A') g_key_up_seen = true;
  if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) return 0;
  return ::DefWindowProcW(window, message, wparam, lparam);
}

// Handles the probe's messages until the condition holds or the time is up.
template <class Condition>
bool PumpUntil(Condition condition, double timeout_ms) {
  const double start = NowMs();
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (condition()) return true;
    const double left = timeout_ms - (NowMs() - start);
    if (left <= 0) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
  }
}

HWND MakeKeyWindow() {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = KeyWindowProc;
  window_class.hInstance = ::GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"LumitraxProbeKeys";
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  ::RegisterClassW(&window_class);
  return ::CreateWindowExW(0, L"LumitraxProbeKeys", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400, 200, 120,
                           nullptr, nullptr, window_class.hInstance, nullptr);
}

// The window takes the keyboard (again: the program may have shown its own).
bool TakeKeyboard(HWND window) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    ::SetForegroundWindow(window);
    ::SetFocus(window);
    if (PumpUntil([&] { return ::GetForegroundWindow() == window && ::GetFocus() == window; }, 100)) return true;
  }
  return false;
}

// One press of an ordinary key: the milliseconds from its injection to its
// key-down in the window, or a negative number when it never came.
double PressLetter() {
  g_key_down_at = 0;
  g_key_up_seen = false;
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = 'A';
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  const double start = NowMs();
  ::SendInput(2, inputs, sizeof(INPUT));
  if (!PumpUntil([] { return g_key_down_at != 0; }, 3000)) return -1;
  const double time = g_key_down_at - start;
  PumpUntil([] { return g_key_up_seen; }, 3000);
  return time;
}

void PrintKeyTimes(const char* name, std::vector<double> times, int presses) {
  std::sort(times.begin(), times.end());
  if (times.empty()) {
    std::printf("%s presses %d seen 0\n", name, presses);
    return;
  }
  std::printf("%s presses %d seen %zu median_ms %.2f worst_ms %.2f\n", name, presses, times.size(),
              times[times.size() / 2], times.back());
}

// An ordinary key, as one types into another program: first with Lumitrax at
// rest, then while its usage ping waits for a server that accepted the
// connection and never answers. A hand-over message (a second start) makes a
// freshly started Lumitrax send its first ping at once; it shows its settings
// window too, so the probe's window takes the keyboard back before it types.
int KeyLatency(int presses, unsigned short port) {
  HWND app = nullptr;
  if (!WaitFor([&] { return (app = ::FindWindowW(L"TApplication", L"Lumitrax")) != nullptr; }, 15000)) {
    std::printf("no running Lumitrax\n");
    return 1;
  }
  const HWND window = MakeKeyWindow();
  if (!TakeKeyboard(window)) {
    std::printf("the probe's window did not get the keyboard\n");
    return 1;
  }
  std::vector<double> idle;
  for (int i = 0; i < presses; ++i) {
    PumpUntil([] { return false; }, 20);  // a typist's pause
    if (const double time = PressLetter(); time >= 0) idle.push_back(time);
  }

  WSADATA wsa;
  ::WSAStartup(MAKEWORD(2, 2), &wsa);
  const SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(port);
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  const BOOL reuse = TRUE;
  ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
  if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 4) != 0) {
    std::printf("cannot listen on port %u\n", port);
    return 1;
  }
  ::PostMessageW(app, 35557, 0, 0);  // the hand-over message of a second start
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(listener, &readable);
  timeval wait{10, 0};
  if (::select(0, &readable, nullptr, nullptr, &wait) != 1) {
    std::printf("no ping came\n");
    return 1;
  }
  const SOCKET client = ::accept(listener, nullptr, nullptr);
  const double accepted = NowMs();
  // The ping waits ten seconds from its start: the presses stay well inside.
  std::vector<double> hang;
  bool inside = TakeKeyboard(window);
  int made = 0;
  for (; inside && made < presses && NowMs() - accepted < 8000; ++made) {
    PumpUntil([] { return false; }, 20);
    if (const double time = PressLetter(); time >= 0) hang.push_back(time);
  }
  // The connection must still be open (the request's bytes may wait in it,
  // unread): the ping was hanging all along.
  u_long nonblocking = 1;
  ::ioctlsocket(client, FIONBIO, &nonblocking);
  char byte;
  const int peeked = ::recv(client, &byte, 1, MSG_PEEK);
  const int error = peeked < 0 ? ::WSAGetLastError() : 0;
  const bool still_open = peeked > 0 || (peeked < 0 && error == WSAEWOULDBLOCK);
  const double hang_ms = NowMs() - accepted;
  PrintKeyTimes("idle_key", idle, presses);
  PrintKeyTimes("hang_key", hang, made);
  std::printf("hang_key_within_ping %d (keyboard %d, connection %d/%d, %.0f ms after the ping began)\n",
              inside && still_open ? 1 : 0, inside ? 1 : 0, peeked, error, hang_ms);
  ::closesocket(client);
  ::closesocket(listener);
  ::DestroyWindow(window);
  return idle.empty() || hang.empty() ? 1 : 0;
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
  if (command == L"key-latency" && argc > 3)
    return KeyLatency(std::max(1, _wtoi(argv[2])), static_cast<unsigned short>(_wtoi(argv[3])));
  return 2;
}
