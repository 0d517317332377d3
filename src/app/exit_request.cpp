#include "app/exit_request.h"

#include "app/one_instance.h"
#include "framework/handles.h"

namespace lumitrax {

int ExitRunningInstance(DWORD timeout_ms) {
  TOneInstance guard;
  guard.PerformChecking = TPerformChecking::pcForCurrentUserOnly;
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
      ::PostMessageW(other, WM_EXITINSTANCE, 0, 0);
      const ULONGLONG now = ::GetTickCount64();
      const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
      if (process) return ::WaitForSingleObject(process.get(), left) == WAIT_OBJECT_0 ? 0 : 1;
    }
    if (::GetTickCount64() >= deadline) return 1;
    ::Sleep(50);
  }
}

}  // namespace lumitrax
