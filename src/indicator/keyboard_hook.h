#pragma once
// The system-wide low-level keyboard hook. It only compares and posts: a hook
// that takes too long is silently removed by Windows, so the guard timer and
// the periodic re-install are what keep the indicator trustworthy.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace lumitrax {

// Posted to the target window when a lock key goes down; wParam = the virtual key.
constexpr UINT WM_LOCKKEY = 9755;

// The hook, held by its owner: installed by Install, removed by Remove or when
// the owner goes. One hook per process posts to one target window.
class TKeyboardHook {
 public:
  TKeyboardHook() = default;
  TKeyboardHook(const TKeyboardHook&) = delete;
  TKeyboardHook& operator=(const TKeyboardHook&) = delete;
  ~TKeyboardHook();

  // Points the hook at the window and installs it anew (a dropped hook comes back).
  void Install(HWND target);
  void Remove() noexcept;
  bool Installed() const noexcept { return hook_ != nullptr; }
  // The window the hook posts to; follows every re-creation of that window.
  void SetTarget(HWND target) noexcept;

 private:
  struct Unhook {
    void operator()(HHOOK hook) const noexcept { ::UnhookWindowsHookEx(hook); }
  };
  std::unique_ptr<std::remove_pointer_t<HHOOK>, Unhook> hook_;
};

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wparam, LPARAM lparam);

}  // namespace lumitrax
