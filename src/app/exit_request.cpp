#include "app/exit_request.h"

#include "app/instance_texts.h"
#include "app/one_instance.h"
#include "framework/handles.h"

namespace lumitrax {
namespace {

void TellStandardError(const char* text) {
  const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  if (!error || error == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(error, text, static_cast<DWORD>(std::char_traits<char>::length(text)), &written, nullptr);
}

}  // namespace

int ExitRunningInstance(DWORD timeout_ms, const std::wstring& identifier) {
  TOneInstance guard;
  guard.PerformChecking = TPerformChecking::pcForCurrentUserOnly;
  guard.Identifier = identifier;
  const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
  for (;;) {
    // Owning the instance mutex means nobody else does: nothing to stop. The
    // guard gives it up again on leaving.
    if (!guard.InstanceExists()) return 0;
    // An instance that is still starting or already ending has no window to
    // ask; it is looked for again until the time limit.
    if (const HWND other = guard.FindPrevInstanceWindow()) {
      DWORD process_id = 0;
      ::GetWindowThreadProcessId(other, &process_id);
      UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, process_id));
      if (!PostToInstance(other, WM_EXITINSTANCE, 0, 0)) {
        // Windows dropped the request (the instance runs with more rights):
        // waiting would only end in the time limit. A window that just went
        // away is looked for again.
        if (::GetLastError() == ERROR_ACCESS_DENIED) {
          TellStandardError(ExitRefusedText().c_str());
          return kExitRefused;
        }
        process.reset();
      }
      const ULONGLONG now = ::GetTickCount64();
      const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
      if (process) return ::WaitForSingleObject(process.get(), left) == WAIT_OBJECT_0 ? 0 : 1;
    }
    if (::GetTickCount64() >= deadline) return 1;
    ::Sleep(50);
  }
}

}  // namespace lumitrax
