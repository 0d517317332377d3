#include "framework/boundary.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/application.h"

namespace lumitrax {

namespace {

// Appends `text` to the report as far as it fits; always ends it with a zero.
void Append(char* report, size_t size, size_t& used, const char* text) noexcept {
  while (text && *text && used + 1 < size) report[used++] = *text++;
  report[used] = '\0';
}

}  // namespace

void FatalError(const char* where, const char* what) noexcept {
  // Nothing here may allocate or throw: the program is in an unknown state.
  // (No printf either: the program carries none of its machinery.)
  char title[128] = "Lumitrax";
  const std::wstring& name = Application().Title();
  if (!name.empty() &&
      !::WideCharToMultiByte(CP_UTF8, 0, name.c_str(), -1, title, sizeof title, nullptr, nullptr))
    ::lstrcpynA(title, "Lumitrax", sizeof title);
  char report[512];
  size_t used = 0;
  for (const char* part : {static_cast<const char*>(title), ": ", what, " (", where, "); the program ends.\n"})
    Append(report, sizeof report, used, part);
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
