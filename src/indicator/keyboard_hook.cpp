#include "indicator/keyboard_hook.h"

#include "core/lock_names.h"
#include "framework/boundary.h"

namespace lumitrax {
namespace {

// The window the hook procedure posts to: the procedure has no context of its own.
HWND g_target = nullptr;

}  // namespace

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wparam, LPARAM lparam) {
  // Never read the key state here: it is updated after the hook runs.
  CallbackBoundary("the keyboard hook", [&] {
    if (code == HC_ACTION && wparam == WM_KEYDOWN) {
      const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
      if (core::IsLockVirtualKey(info->vkCode)) ::PostMessageA(g_target, WM_LOCKKEY, info->vkCode, 0);
    }
  });
  // The key always passes on unchanged.
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

TKeyboardHook::~TKeyboardHook() { Remove(); }

void TKeyboardHook::SetTarget(HWND target) noexcept { g_target = target; }

void TKeyboardHook::Install(HWND target) {
  SetTarget(target);
  Remove();
  // A failure is not reported: the guard timer still shows every change.
  hook_.reset(::SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHookProc, ::GetModuleHandleW(nullptr), 0));
}

void TKeyboardHook::Remove() noexcept { hook_.reset(); }

}  // namespace lumitrax
