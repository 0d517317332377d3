#include "framework/boundary.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/application.h"

namespace lumitrax {

void FatalError(const char* where, const char* what) noexcept {
  // Nothing here may allocate much or throw: the program is in an unknown state.
  char title[128] = "Lumitrax";
  const std::wstring& name = Application().Title();
  if (!name.empty() &&
      !::WideCharToMultiByte(CP_UTF8, 0, name.c_str(), -1, title, sizeof title, nullptr, nullptr))
    std::snprintf(title, sizeof title, "Lumitrax");
  char report[512];
  std::snprintf(report, sizeof report, "%s: %s (%s); the program ends.\n", title, what, where);
  std::fputs(report, stderr);
  std::fflush(stderr);
  ::OutputDebugStringA(report);
  ::TerminateProcess(::GetCurrentProcess(), kFatalExitCode);
  // TerminateProcess does not return for the calling process.
  std::_Exit(static_cast<int>(kFatalExitCode));
}

void ReportException(const char* where, const std::exception& error) noexcept {
  try {
    Application().HandleException(error);
  } catch (...) {
    FatalError(where, "the error box itself failed");
  }
}

}  // namespace lumitrax
