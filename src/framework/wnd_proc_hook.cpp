#include "framework/wnd_proc_hook.h"

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <utility>

#include "framework/application.h"
#include "framework/boundary.h"
#include "framework/errors.h"

namespace lumitrax {
namespace {

// Moves the window with the mouse as if its caption had been pressed.
constexpr WPARAM kDragCommand = SC_MOVE | HTCAPTION;  // 0xF012

std::unique_ptr<TWndProcHookList>& HookListOwner() {
  static std::unique_ptr<TWndProcHookList> list;
  return list;
}

// Explicit handles 0 and -1 both mean "none".
bool IsNoHandle(HWND window) noexcept { return !window || window == reinterpret_cast<HWND>(-1); }

// A window we may subclass: alive and of this process.
bool IsOwnWindow(HWND window) noexcept {
  DWORD process = 0;
  return ::IsWindow(window) && ::GetWindowThreadProcessId(window, &process) && process == ::GetCurrentProcessId();
}

}  // namespace

const TWndProcHookList* HookList() noexcept { return HookListOwner().get(); }

// The window procedures of the hooks. Each active hook needs an entry point of
// its own, so that the hook above it in a chain can pass messages to exactly
// this hook with CallWindowProc. The entry points are a fixed set of static
// procedures, one per slot; a hook takes a slot when it is installed and gives
// it back when it is removed.
struct HookChain {
  static constexpr size_t kSlots = 64;

  static std::array<TCustomWndProcHook*, kSlots>& Slots() {
    static std::array<TCustomWndProcHook*, kSlots> slots{};
    return slots;
  }

  template <size_t Slot>
  static LRESULT CALLBACK SlotProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return Dispatch(Slots()[Slot], window, message, wparam, lparam);
  }

  template <size_t... Slot>
  static constexpr std::array<WNDPROC, kSlots> MakeSlotProcs(std::index_sequence<Slot...>) {
    return {&SlotProc<Slot>...};
  }

  static const std::array<WNDPROC, kSlots>& SlotProcs() {
    static constexpr std::array<WNDPROC, kSlots> procs = MakeSlotProcs(std::make_index_sequence<kSlots>());
    return procs;
  }

  static WNDPROC AcquireThunk(TCustomWndProcHook& hook) {
    auto& slots = Slots();
    const auto free = std::find(slots.begin(), slots.end(), nullptr);
    if (free == slots.end()) throw AppError(L"Too many window hooks");
    *free = &hook;
    return SlotProcs()[static_cast<size_t>(free - slots.begin())];
  }

  static void ReleaseThunk(WNDPROC thunk) noexcept {
    const auto& procs = SlotProcs();
    const auto found = std::find(procs.begin(), procs.end(), thunk);
    if (found != procs.end()) Slots()[static_cast<size_t>(found - procs.begin())] = nullptr;
  }

  static LRESULT Dispatch(TCustomWndProcHook* hook, HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    // A procedure no hook stands behind any more (a stale copy kept by someone
    // else) still answers, like a window without a procedure of its own.
    if (!hook || hook->FHookedWnd != window || !hook->FOldWndProc)
      return ::DefWindowProcW(window, message, wparam, lparam);

    TCustomWndProcHook::CallFrame frame;
    frame.outer = hook->FCalls;
    hook->FCalls = &frame;
    THookMessage msg{message, wparam, lparam, 0};
    // Never let an exception escape into the system.
    CallbackBoundary("a window hook", [&] { hook->WndProc(msg); });
    if (frame.alive) hook->FCalls = frame.outer;
    // The window is gone: every hook of it leaves its chain, even those a hook
    // above kept the message from.
    if (message == WM_NCDESTROY) Detach(window);
    return msg.Result;
  }

  // The procedure under the whole chain of a window: the bottom hook's old
  // procedure, or the window's current procedure when no hook is installed.
  static WNDPROC BaseProc(HWND window) {
    for (TCustomWndProcHook* hook : HookListOwner()->Items) {
      if (hook->FHookedWnd == window && hook->FOldWndProc) return hook->FOldWndProc;
    }
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
  }

  // Chains the installed hooks of a window in list order on top of base.
  static void Relink(HWND window, WNDPROC base) {
    WNDPROC below = base;
    for (TCustomWndProcHook* hook : HookListOwner()->Items) {
      if (hook->FHookedWnd != window) continue;
      hook->FOldWndProc = below;
      below = hook->FNewWndProc;
    }
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(below));
  }

  static void Install(TCustomWndProcHook& hook) {
    if (hook.FHookedWnd) Uninstall(hook);
    const HWND window = hook.GetHandle();
    if (!window || !IsOwnWindow(window)) return;
    const WNDPROC base = BaseProc(window);
    hook.FHookedWnd = window;
    Relink(window, base);
  }

  static void Uninstall(TCustomWndProcHook& hook) noexcept {
    const HWND window = hook.FHookedWnd;
    if (window && ::IsWindow(window)) {
      // The base is found while this hook still counts, so that removing the
      // bottom hook still finds the window's own procedure.
      const WNDPROC base = BaseProc(window);
      hook.FHookedWnd = nullptr;
      Relink(window, base);
    }
    hook.FHookedWnd = nullptr;
    hook.FOldWndProc = nullptr;
  }

  static void Detach(HWND window) noexcept {
    const auto& list = HookListOwner();
    if (!list) return;
    for (TCustomWndProcHook* hook : list->Items) {
      if (hook->FHookedWnd != window) continue;
      hook->FHookedWnd = nullptr;
      hook->FOldWndProc = nullptr;
    }
  }
};

TCustomWndProcHook::TCustomWndProcHook(TComponent* owner) : FOwner(owner) {
  auto& list = HookListOwner();
  if (!list) list = std::make_unique<TWndProcHookList>();
  list->Items.push_back(this);
}

TCustomWndProcHook::~TCustomWndProcHook() {
  for (CallFrame* frame = FCalls; frame; frame = frame->outer) frame->alive = false;
  if (FNotifier) FNotifier->RemoveFreeNotification(*this);
  TCustomWndProcHook::Unhook();
  auto& list = HookListOwner();
  std::erase(list->Items, this);
  if (list->Items.empty()) list.reset();
}

void TCustomWndProcHook::SetActive(bool value) {
  if (value == FActive) return;
  if (value)
    Hook();
  else
    Unhook();
}

void TCustomWndProcHook::Hook() {
  if (!FNewWndProc) FNewWndProc = HookChain::AcquireThunk(*this);
  HookChain::Install(*this);
  FActive = true;
}

void TCustomWndProcHook::Unhook() {
  HookChain::Uninstall(*this);
  if (FNewWndProc) HookChain::ReleaseThunk(FNewWndProc);
  FNewWndProc = nullptr;
  FOldWndProc = nullptr;
  FActive = false;
}

HWND TCustomWndProcHook::GetHandle() {
  if (!IsNoHandle(FHandle)) return FHandle;
  TWindow* const control = GetWinControl();
  if (!control) return nullptr;
  if (!control->HandleAllocated() && FLoading) return nullptr;
  return control->Handle();
}

void TCustomWndProcHook::SetHandle(HWND value) {
  if (value == FHandle) return;
  const bool was_active = FActive;
  SetActive(false);
  FHandle = value;
  if (was_active) SetActive(true);
  if (OnChangeHandle) OnChangeHandle(*this);
}

TWindow* TCustomWndProcHook::GetWinControl() {
  if (FWinControl) return FWinControl;
  return dynamic_cast<TWindow*>(FOwner);
}

void TCustomWndProcHook::SetWinControl(TWindow* value) {
  if (value == FWinControl) return;
  const bool was_active = FActive;
  SetActive(false);
  FWinControl = value;
  // A control the hook's owner does not own may go first: it tells the hook.
  if (FNotifier) FNotifier->RemoveFreeNotification(*this);
  FNotifier = nullptr;
  TWindow* const target = GetWinControl();
  if (target && target != FOwner) {
    target->FreeNotification(*this);
    FNotifier = target;
  }
  if (was_active) SetActive(true);
  if (OnChangeWinControl) OnChangeWinControl(*this);
}

void TCustomWndProcHook::Loaded() {
  FLoading = false;
  if (FActive) Hook();
}

void TCustomWndProcHook::Notification(TComponent& component) {
  if (&component == FWinControl)
    SetWinControl(nullptr);
  else if (&component == this)
    SetActive(false);
}

void TCustomWndProcHook::CallHandler(const THookMessageEvent& handler, THookMessage& msg, bool& handled) {
  if (!handler) return;
  try {
    handler(*this, msg, handled);
  } catch (const std::exception& error) {
    // A failing handler must not cut the chain: the message still goes on.
    Application().HandleException(error);
  }
}

void TCustomWndProcHook::WndProc(THookMessage& msg) {
  const HWND window = FHookedWnd;
  if (!window) return;
  // Handlers may free this hook; the frame of the running call tells.
  const CallFrame* const frame = FCalls;
  const auto alive = [frame] { return !frame || frame->alive; };

  // The procedure below at entry: still the way down if a handler takes this
  // hook out of the chain.
  const WNDPROC next_at_entry = FOldWndProc;

  bool handled = false;
  CallHandler(OnMessageBefore, msg, handled);
  const bool still_here = alive();
  if (!handled) {
    if (still_here && msg.Msg == WM_LBUTTONDOWN && FAutoDrag && ::IsWindow(window)) {
      // The system's move loop runs inside this call until the button is
      // released; timers and other messages keep being dispatched meanwhile.
      ::ReleaseCapture();
      ::SendMessageW(window, WM_SYSCOMMAND, kDragCommand, 0);
    } else {
      const WNDPROC next = still_here && FOldWndProc ? FOldWndProc : next_at_entry;
      msg.Result = ::CallWindowProcW(next, window, msg.Msg, msg.WParam, msg.LParam);
    }
  }
  if (alive()) CallHandler(OnMessageAfter, msg, handled);
}

}  // namespace lumitrax
