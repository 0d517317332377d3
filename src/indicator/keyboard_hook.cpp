#include "indicator/keyboard_hook.h"

#include "core/lock_names.h"

namespace lumitrax {
namespace {

// One hook per process, and the window it posts to.
HHOOK g_hook = nullptr;
HWND g_target = nullptr;

}  // namespace

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wparam, LPARAM lparam) {
  // Never read the key state here: it is updated after the hook runs.
  if (code == HC_ACTION && wparam == WM_KEYDOWN) {
    const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    if (core::IsLockVirtualKey(info->vkCode)) ::PostMessageA(g_target, WM_LOCKKEY, info->vkCode, 0);
  }
  // The key always passes on unchanged.
  return ::CallNextHookEx(g_hook, code, wparam, lparam);
}

void SetKeyboardHookTarget(HWND target) { g_target = target; }

void InstallKeyboardHook(HWND target) {
  SetKeyboardHookTarget(target);
  RemoveKeyboardHook();
  // A failure is not reported: the guard timer still shows every change.
  g_hook = ::SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHookProc, ::GetModuleHandleW(nullptr), 0);
}

void RemoveKeyboardHook() {
  if (g_hook) ::UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

bool KeyboardHookInstalled() { return g_hook != nullptr; }

}  // namespace lumitrax
