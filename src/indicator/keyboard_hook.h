#pragma once
// The system-wide low-level keyboard hook. Windows calls a low-level hook on
// the thread that installed it and holds every key press of the desktop until
// that thread has run it; a hook that is too slow is dropped silently. So the
// hook lives on a small thread of its own, with its own message loop, that
// does nothing but compare and post: whatever the GUI thread is doing (a ping
// that waits, a shell call that hangs, a modal loop), no key waits for us.
// The guard timer and the periodic re-install still keep the indicator
// trustworthy should Windows drop the hook all the same.
#include <windows.h>

#include <cstdint>
#include <memory>

namespace lumitrax {

// Posted to the target window when a lock key goes down; wParam = the virtual key.
constexpr UINT WM_LOCKKEY = 9755;

// The hook, held by its owner: installed by Install, removed by Remove; its
// thread starts with the first Install and ends with the owner. One hook per
// process posts to one target window.
class TKeyboardHook {
 public:
  TKeyboardHook();
  TKeyboardHook(const TKeyboardHook&) = delete;
  TKeyboardHook& operator=(const TKeyboardHook&) = delete;
  // Removes the hook and ends its thread (joined, for a short while at most).
  ~TKeyboardHook();

  // Points the hook at the window and installs it anew on the hook's thread
  // (a dropped hook comes back); returns once it is in place.
  void Install(HWND target);
  // Removes the hook; its thread stays for the next Install.
  void Remove() noexcept;
  bool Installed() const noexcept;
  // The window the hook posts to; follows every re-creation of that window.
  void SetTarget(HWND target) noexcept;
  // The thread the hook runs on, or 0 before the first Install.
  DWORD ThreadId() const noexcept;

  // State shared with the hook's thread; defined in the source file.
  struct TThread;

 private:
  // Asks the hook's thread to do `command` and waits until it has.
  void Command(UINT command) noexcept;

  TThread* thread_ = nullptr;  // outlives us when the thread would not end in time
};

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wparam, LPARAM lparam);

}  // namespace lumitrax
