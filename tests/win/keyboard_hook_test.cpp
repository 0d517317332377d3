// The keyboard hook on a thread of its own: a key press reaches it, and it
// posts, while the GUI thread is blocked and handles no message at all; its
// thread ends with its owner.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "framework/handles.h"
#include "indicator/keyboard_hook.h"
#include "indicator/lock_monitor.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::SetLock;

// A message-only window on a thread of its own that notes the hook's
// messages: it is the hook's target here, so what the hook posts is seen
// whatever the test's own thread is doing.
class TListener {
 public:
  TListener() {
    thread_ = std::thread([this] { Run(); });
    ::WaitForSingleObject(ready_.get(), INFINITE);
  }
  ~TListener() {
    ::PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  HWND Window() const { return window_; }
  HANDLE Seen() const { return seen_.get(); }
  DWORD Key() const { return key_.load(); }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_LOCKKEY) {
      auto* self = reinterpret_cast<TListener*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
      self->key_.store(static_cast<DWORD>(wparam));
      ::SetEvent(self->seen_.get());
      return 0;
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
  }
  void Run() {
    thread_id_ = ::GetCurrentThreadId();
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = Proc;
    window_class.hInstance = ::GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"HookListener";
    ::RegisterClassW(&window_class);
    window_ = ::CreateWindowExW(0, L"HookListener", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                window_class.hInstance, nullptr);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    ::SetEvent(ready_.get());
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    ::DestroyWindow(window_);
  }

  UniqueKernelHandle ready_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  UniqueKernelHandle seen_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<DWORD> key_{0};
  HWND window_ = nullptr;
  DWORD thread_id_ = 0;
  std::thread thread_;
};

void PressScrollLock() {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = VK_SCROLL;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

class KeyboardHook : public ::testing::Test {
 protected:
  void SetUp() override { SetLock(VK_SCROLL, 3, false); }
  void TearDown() override { SetLock(VK_SCROLL, 3, false); }
};

TEST_F(KeyboardHook, SeesAKeyAndPostsItWhileTheGuiThreadIsBlockedInAWait) {
  TListener listener;
  TKeyboardHook hook;
  hook.Install(listener.Window());
  ASSERT_TRUE(hook.Installed());
  // Someone types while the GUI thread is stuck (as in a shell call that
  // hangs): from here on this thread takes no message until the wait ends.
  std::thread typist(PressScrollLock);
  const DWORD waited = ::WaitForSingleObject(listener.Seen(), 10000);
  typist.join();
  EXPECT_EQ(waited, WAIT_OBJECT_0) << "the key waited for the GUI thread";
  EXPECT_EQ(listener.Key(), static_cast<DWORD>(VK_SCROLL));
}

TEST_F(KeyboardHook, RunsOnAThreadOfItsOwnThatEndsWithItsOwner) {
  TListener listener;
  UniqueKernelHandle thread;
  {
    TKeyboardHook hook;
    EXPECT_EQ(hook.ThreadId(), 0u) << "no thread before the hook is wanted";
    hook.Install(listener.Window());
    ASSERT_NE(hook.ThreadId(), 0u);
    EXPECT_NE(hook.ThreadId(), ::GetCurrentThreadId());
    thread.reset(::OpenThread(SYNCHRONIZE, FALSE, hook.ThreadId()));
    ASSERT_TRUE(thread);
    // Removing and installing again keeps the one thread.
    const DWORD id = hook.ThreadId();
    hook.Remove();
    EXPECT_FALSE(hook.Installed());
    hook.Install(listener.Window());
    EXPECT_TRUE(hook.Installed());
    EXPECT_EQ(hook.ThreadId(), id);
    EXPECT_EQ(::WaitForSingleObject(thread.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  }
  // Joined by the owner's destructor: ended, not merely asked to end.
  EXPECT_EQ(::WaitForSingleObject(thread.get(), 0), WAIT_OBJECT_0);
}

TEST_F(KeyboardHook, TheLockMonitorsRenewalPutsTheHookBackOnItsThread) {
  TListener listener;
  TLockMonitor monitor;
  monitor.InstallHook(listener.Window());
  const DWORD id = monitor.KeyboardHook.ThreadId();
  monitor.KeyboardHook.Remove();
  monitor.tmrHookRenewal.SetInterval(20);
  ASSERT_TRUE(testing::RunUntil([&] { return monitor.KeyboardHook.Installed(); }, 2000));
  EXPECT_EQ(monitor.KeyboardHook.ThreadId(), id);
  // And the renewed hook reaches its target with the GUI thread blocked.
  monitor.tmrHookRenewal.SetEnabled(false);
  std::thread typist(PressScrollLock);
  const DWORD waited = ::WaitForSingleObject(listener.Seen(), 10000);
  typist.join();
  EXPECT_EQ(waited, WAIT_OBJECT_0);
}

}  // namespace
}  // namespace lumitrax
