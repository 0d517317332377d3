#pragma once
// The boundary between Windows and the program's C++: every window procedure,
// hook procedure, timer and network callback runs its body through here, so
// that no exception ever unwinds into the system. A std::exception is shown
// in the error box and the program runs on; anything else is a fault the
// program cannot reason about, and it ends at once with a report.
#include <exception>
#include <utility>

namespace lumitrax {

// The exit code of a program ended by FatalError.
constexpr unsigned kFatalExitCode = 3;

// Writes "<title>: <what> (<where>); the program ends." to the error output and
// the debugger, then ends the process at once: no unwinding, no destructors.
[[noreturn]] void FatalError(const char* where, const char* what) noexcept;

// Shows the error in the application's error box; an error while showing it is fatal.
void ReportException(const char* where, const std::exception& error) noexcept;

// Runs body() for a callback from Windows; returns `fallback` when it threw a
// std::exception.
template <typename R, typename F>
R CallbackBoundary(const char* where, R fallback, F&& body) noexcept {
  try {
    return std::forward<F>(body)();
  } catch (const std::exception& error) {
    ReportException(where, error);
  } catch (...) {
    FatalError(where, "an exception that is not a std::exception escaped");
  }
  return fallback;
}

template <typename F>
void CallbackBoundary(const char* where, F&& body) noexcept {
  CallbackBoundary(where, 0, [&] {
    std::forward<F>(body)();
    return 0;
  });
}

}  // namespace lumitrax
