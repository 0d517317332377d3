#pragma once
// Running a command line (a program with switches, an installer) from a test
// and waiting for it with a time limit.
#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>

namespace lumitrax::e2e {

// A started process; its handles are closed at the end of the scope, the
// process itself is left alone.
class Command {
 public:
  explicit Command(std::wstring command_line) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!::CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info_))
      throw std::runtime_error("cannot start a command");
  }
  ~Command() {
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
  }
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  DWORD ProcessId() const noexcept { return info_.dwProcessId; }
  // The exit code once the process ended within timeout_ms, or nothing.
  std::optional<DWORD> Wait(DWORD timeout_ms) const {
    if (::WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
};

inline std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// Runs the command line to its end: its exit code, or nothing after timeout_ms.
inline std::optional<DWORD> RunToEnd(const std::wstring& command_line, DWORD timeout_ms) {
  return Command(command_line).Wait(timeout_ms);
}

}  // namespace lumitrax::e2e
