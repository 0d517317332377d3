// Poses the real Lumitrax.exe for the pictures of the README: starts it,
// switches Caps Lock on, and for each picture writes "<name>.rect" (the
// screen rectangle "left top right bottom") into the folder given as its
// argument, then waits for "<name>.done" from scripts/docs-pictures.sh, which
// takes the screenshot. Pictures: the settings window, the on-screen display
// (the settings window closed to the tray), the taskbar with the tray icon,
// and the "More settings" window, opened with the settings window's button.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

bool WaitFor(const std::function<bool()>& condition, DWORD timeout_ms) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
  while (!condition()) {
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(50);
  }
  return true;
}

std::wstring BesideThisExe(const std::wstring& name) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1) + name;
}

HWND VisibleWindowOf(DWORD pid, const wchar_t* class_name) {
  struct Search {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
  } search{pid, class_name, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        wchar_t cls[64] = {};
        ::GetClassNameW(window, cls, 64);
        if ((s->pid && owner != s->pid) || std::wstring(cls) != s->cls || !::IsWindowVisible(window)) return TRUE;
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

// Hands one rectangle to the picture script and waits until it has its shot.
bool Pose(const std::wstring& folder, const char* name, HWND window) {
  RECT rect{};
  if (!window || !::GetWindowRect(window, &rect)) {
    std::fprintf(stderr, "docs_pictures: no window for %s\n", name);
    return false;
  }
  // Let the window finish painting before it is photographed.
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const std::wstring base = folder + L"\\" + std::wstring(name, name + std::char_traits<char>::length(name));
  {
    std::ofstream out(std::filesystem::path(base + L".tmp"));
    out << rect.left << ' ' << rect.top << ' ' << rect.right << ' ' << rect.bottom << '\n';
  }
  ::MoveFileExW((base + L".tmp").c_str(), (base + L".rect").c_str(), MOVEFILE_REPLACE_EXISTING);
  const bool done = WaitFor([&] { return ::GetFileAttributesW((base + L".done").c_str()) != INVALID_FILE_ATTRIBUTES; },
                            60000);
  if (!done) std::fprintf(stderr, "docs_pictures: no shot of %s\n", name);
  return done;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: docs_pictures.exe FOLDER\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  std::wstring command = L"\"" + BesideThisExe(L"Lumitrax.exe") + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION program{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &program)) {
    std::fprintf(stderr, "docs_pictures: cannot start Lumitrax.exe\n");
    return 1;
  }
  const DWORD pid = program.dwProcessId;
  int status = 1;
  HWND settings = nullptr;
  if (WaitFor([&] { return (settings = VisibleWindowOf(pid, L"TfrmMain")) != nullptr; }, 20000)) {
    PressCapsLock();
    // The lit Caps Lock shows in the window's tray icon preview and in the display.
    HWND osd = nullptr;
    WaitFor([&] { return (osd = VisibleWindowOf(pid, L"TfrmOsd")) != nullptr; }, 5000);
    ::SetForegroundWindow(settings);
    if (Pose(folder, "settings-window", settings)) {
      // The button that opens the "More settings" window.
      if (HWND button = ::FindWindowExW(settings, nullptr, nullptr, L"Mor&e settings..."))
        ::PostMessageW(button, BM_CLICK, 0, 0);
      HWND more = nullptr;
      WaitFor([&] { return (more = VisibleWindowOf(pid, L"TfrmMoreSettings")) != nullptr; }, 5000);
      const bool more_posed = Pose(folder, "more-settings-window", more);
      if (more) ::PostMessageW(more, WM_CLOSE, 0, 0);
      WaitFor([&] { return !::IsWindowVisible(more); }, 5000);
      ::SetForegroundWindow(settings);
      ::PostMessageW(settings, WM_CLOSE, 0, 0);
      WaitFor([&] { return !::IsWindowVisible(settings); }, 5000);
      WaitFor([&] { return (osd = VisibleWindowOf(pid, L"TfrmOsd")) != nullptr; }, 5000);
      if (more_posed && Pose(folder, "on-screen-display", osd) &&
          Pose(folder, "taskbar", VisibleWindowOf(0, L"Shell_TrayWnd")))
        status = 0;
    }
  } else {
    std::fprintf(stderr, "docs_pictures: the settings window did not show\n");
  }
  PressCapsLock();
  ::TerminateProcess(program.hProcess, 0);
  ::CloseHandle(program.hThread);
  ::CloseHandle(program.hProcess);
  return status;
}
