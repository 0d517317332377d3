#include "indicator/keyboard_hook.h"

#include <atomic>

#include "core/lock_names.h"
#include "framework/handles.h"

namespace lumitrax {
namespace {

// The window the hook procedure posts to: the procedure has no context of its
// own. Written on the GUI thread, read on the hook's.
std::atomic<HWND> g_target{nullptr};

// Commands to the hook's thread (thread messages; wParam = the command's number).
constexpr UINT kInstallHook = WM_APP + 1;
constexpr UINT kRemoveHook = WM_APP + 2;

// How long the GUI thread waits for a command: the thread does nothing that
// can stall, so it answers in microseconds; the limit only keeps a thread that
// Windows stopped from stopping us too.
constexpr DWORD kCommandWaitMs = 1000;
// How long the owner waits for the thread to end.
constexpr DWORD kStopWaitMs = 2000;

}  // namespace

struct TKeyboardHook::TThread {
  UniqueKernelHandle handle;
  DWORD id = 0;
  // Set each time the thread has carried out a command (auto-reset).
  UniqueKernelHandle done{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  std::atomic<bool> installed{false};
  // The number of the last command carried out; the GUI thread numbers them.
  std::atomic<uint32_t> completed{0};
  uint32_t requested = 0;  // GUI thread only
};

namespace {

void Finished(TKeyboardHook::TThread& thread, uint32_t command) {
  thread.completed.store(command);
  ::SetEvent(thread.done.get());
}

DWORD WINAPI HookThreadProc(void* param) {
  auto& thread = *static_cast<TKeyboardHook::TThread*>(param);
  try {
    MSG msg;
    // The thread's queue exists from here on: commands posted later arrive.
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    UniqueHook hook;
    const auto install = [&] {
      hook.reset();
      // A failure is not reported: the guard timer still shows every change.
      hook.reset(::SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHookProc, ::GetModuleHandleW(nullptr), 0));
      thread.installed.store(static_cast<bool>(hook));
    };
    // The first install comes with the start.
    install();
    Finished(thread, 1);
    // Windows calls the hook procedure from inside GetMessage.
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (msg.hwnd) {
        ::DispatchMessageW(&msg);
        continue;
      }
      if (msg.message == kInstallHook) {
        install();
      } else if (msg.message == kRemoveHook) {
        hook.reset();
        thread.installed.store(false);
      } else {
        continue;
      }
      Finished(thread, static_cast<uint32_t>(msg.wParam));
    }
    hook.reset();
  } catch (...) {  // nothing above throws; were it to, the guard timer carries on alone
  }
  thread.installed.store(false);
  return 0;
}

}  // namespace

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wparam, LPARAM lparam) {
  // Compare and post, nothing more. Never read the key state here: it is
  // updated after the hook runs. Nothing here can throw.
  if (code == HC_ACTION && wparam == WM_KEYDOWN) {
    const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    if (core::IsLockVirtualKey(info->vkCode)) ::PostMessageA(g_target.load(), WM_LOCKKEY, info->vkCode, 0);
  }
  // The key always passes on unchanged.
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

TKeyboardHook::TKeyboardHook() = default;

TKeyboardHook::~TKeyboardHook() {
  if (!thread_) return;
  // The thread removes the hook as its loop ends.
  ::PostThreadMessageW(thread_->id, WM_QUIT, 0, 0);
  if (::WaitForSingleObject(thread_->handle.get(), kStopWaitMs) == WAIT_OBJECT_0) {
    delete thread_;
  }
  // Otherwise the thread still uses its state, which is left to it: the
  // process is ending, or Windows holds the thread where it cannot be asked.
}

void TKeyboardHook::SetTarget(HWND target) noexcept { g_target.store(target); }

bool TKeyboardHook::Installed() const noexcept { return thread_ && thread_->installed.load(); }

DWORD TKeyboardHook::ThreadId() const noexcept { return thread_ ? thread_->id : 0; }

void TKeyboardHook::Install(HWND target) {
  SetTarget(target);
  if (thread_) {
    Command(kInstallHook);
    return;
  }
  auto* thread = new TThread;
  thread->requested = 1;
  thread->handle.reset(::CreateThread(nullptr, 64 * 1024, HookThreadProc, thread, STACK_SIZE_PARAM_IS_A_RESERVATION,
                                      &thread->id));
  if (!thread->handle) {
    // No thread, no hook: the guard timer shows every change.
    delete thread;
    return;
  }
  thread_ = thread;
  // It runs for microseconds per key, and every key of the desktop waits for it.
  ::SetThreadPriority(thread_->handle.get(), THREAD_PRIORITY_HIGHEST);
  Command(0);
}

void TKeyboardHook::Remove() noexcept {
  if (thread_) Command(kRemoveHook);
}

void TKeyboardHook::Command(UINT command) noexcept {
  TThread& thread = *thread_;
  if (command != 0) {
    const uint32_t number = ++thread.requested;
    if (!::PostThreadMessageW(thread.id, command, number, 0)) return;
  }
  const uint32_t awaited = thread.requested;
  const ULONGLONG deadline = ::GetTickCount64() + kCommandWaitMs;
  const HANDLE handles[] = {thread.done.get(), thread.handle.get()};
  while (thread.completed.load() < awaited) {
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return;
    // Not a message wait: nothing may run inside Install or Remove, and the
    // answer comes at once. A thread that ended answers no more.
    if (::WaitForMultipleObjects(2, handles, FALSE, static_cast<DWORD>(deadline - now)) != WAIT_OBJECT_0) return;
  }
}

}  // namespace lumitrax
