#include "e2e_support.h"

#include <stdexcept>

namespace lumitrax::e2e {

std::wstring BesideTestExe(const std::wstring& file_name) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  return dir + file_name;
}

Program::Program(const std::wstring& exe_name) {
  std::wstring command = L"\"" + BesideTestExe(exe_name) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
    throw std::runtime_error("cannot start Lumitrax.exe");
  ::WaitForInputIdle(info_.hProcess, 10000);
}

Program::~Program() {
  if (Running()) {
    ::TerminateProcess(info_.hProcess, 1);
    ::WaitForSingleObject(info_.hProcess, 5000);
  }
  ::CloseHandle(info_.hThread);
  ::CloseHandle(info_.hProcess);
}

bool Program::Running() const { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool Program::WaitForExit(DWORD timeout_ms, DWORD* exit_code) const {
  if (::WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) return false;
  if (exit_code) ::GetExitCodeProcess(info_.hProcess, exit_code);
  return true;
}

HWND Program::FindWindow(const std::wstring& class_name, const wchar_t* text, DWORD timeout_ms) const {
  struct Search {
    DWORD pid;
    const std::wstring* class_name;
    const wchar_t* text;
    HWND found;
  } search{info_.dwProcessId, &class_name, text, nullptr};
  WaitFor(
      [&] {
        ::EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
              auto* s = reinterpret_cast<Search*>(param);
              DWORD pid = 0;
              ::GetWindowThreadProcessId(window, &pid);
              wchar_t cls[128] = {};
              ::GetClassNameW(window, cls, 128);
              if (pid != s->pid || *s->class_name != cls) return TRUE;
              if (s->text && WindowText(window) != s->text) return TRUE;
              s->found = window;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeout_ms);
  return search.found;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeout_ms) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
  while (!condition()) {
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(20);
  }
  return true;
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

}  // namespace lumitrax::e2e
