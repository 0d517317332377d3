#pragma once
// Starting and observing the real Lumitrax.exe from another process.
#include <windows.h>

#include <functional>
#include <string>

namespace lumitrax::e2e {

std::wstring BesideTestExe(const std::wstring& file_name);

// A running Lumitrax.exe; the process is killed at the end of the scope if it
// still runs.
class Program {
 public:
  explicit Program(const std::wstring& exe_name = L"Lumitrax.exe");
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  DWORD ProcessId() const noexcept { return info_.dwProcessId; }
  HANDLE Process() const noexcept { return info_.hProcess; }
  bool Running() const;
  // Waits for the process to end; its exit code, or nullopt on time-out.
  bool WaitForExit(DWORD timeout_ms, DWORD* exit_code = nullptr) const;
  // The first top-level window of the process with that class (and text, when
  // given), waiting up to timeout_ms for it.
  HWND FindWindow(const std::wstring& class_name, const wchar_t* text, DWORD timeout_ms) const;

 private:
  PROCESS_INFORMATION info_{};
};

bool WaitFor(const std::function<bool()>& condition, DWORD timeout_ms);
std::wstring WindowText(HWND window);

}  // namespace lumitrax::e2e
