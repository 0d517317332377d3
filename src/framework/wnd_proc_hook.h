#pragma once
// Subclassing by chained hooks. A hook puts its own window procedure in front of
// a window's procedure: the program sees every message before (and after) the
// window does and may swallow it, and a borderless window can be dragged with
// the left mouse button (AutoDrag). Several hooks may sit on one window; all
// hooks of the process are held in one ordered list, which decides the order
// of every chain, so any hook can leave any chain without breaking the others.
#include <windows.h>

#include <functional>
#include <vector>

#include "framework/window.h"

namespace lumitrax {

// The message as a hook sees it. A handler that takes over a message sets
// Result, which is what the sender of the message receives.
struct THookMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

class TCustomWndProcHook;

using THookMessageEvent = std::function<void(TCustomWndProcHook& sender, THookMessage& msg, bool& handled)>;

// Every hook of the process in the order of construction; the first hook of a
// window's chain is the one next to the window's own procedure.
struct TWndProcHookList {
  std::vector<TCustomWndProcHook*> Items;
};

// The process-wide list: exists while at least one hook exists, null otherwise.
const TWndProcHookList* HookList() noexcept;

class TCustomWndProcHook : public TComponent {
 public:
  // Owner: the component the hook belongs to; when it is a window, the hook
  // hooks it unless WinControl names another one.
  explicit TCustomWndProcHook(TComponent* owner = nullptr);
  ~TCustomWndProcHook() override;

  TComponent* Owner() const noexcept { return FOwner; }

  bool Active() const noexcept { return FActive; }
  virtual void SetActive(bool value);

  bool AutoDrag() const noexcept { return FAutoDrag; }
  void SetAutoDrag(bool value) noexcept { FAutoDrag = value; }

  // The hooked window: the explicit handle if set, else the window of
  // WinControl (created if need be); null when there is none.
  HWND Handle() { return GetHandle(); }
  // An explicit window to hook; null (or -1) follows WinControl again.
  virtual void SetHandle(HWND value);

  // The control whose window is hooked: the one set, or else the owner.
  TWindow* WinControl() { return GetWinControl(); }
  virtual void SetWinControl(TWindow* value);

  // A hook built step by step (like a form's components) can be marked as
  // loading: while it loads, activating it does not create the target's
  // window; Loaded then installs it.
  void BeginLoading() noexcept { FLoading = true; }
  bool Loading() const noexcept { return FLoading; }
  virtual void Loaded();

  // Tells the hook that a component is going away: the hooked control (the
  // hook then follows its owner again) or the hook itself (it leaves its chain).
  // A hooked control other than the owner tells the hook itself when it is freed.
  void Notification(TComponent& component) override;

  TNotifyEvent OnChangeHandle;
  TNotifyEvent OnChangeWinControl;
  // After the message went down the chain (or was handled), whatever Handled is.
  THookMessageEvent OnMessageAfter;
  // Before the message goes down the chain; setting Handled takes it over.
  THookMessageEvent OnMessageBefore;

 protected:
  virtual void Hook();
  virtual void Unhook();
  virtual void WndProc(THookMessage& msg);
  virtual HWND GetHandle();
  virtual TWindow* GetWinControl();

 private:
  friend struct HookChain;
  // One running call of this hook's window procedure; a hook destroyed while
  // its procedure runs clears `alive` so the call touches it no more.
  struct CallFrame {
    bool alive = true;
    CallFrame* outer = nullptr;
  };

  void CallHandler(const THookMessageEvent& handler, THookMessage& msg, bool& handled);

  TComponent* FOwner;
  bool FActive = false;
  bool FAutoDrag = false;
  bool FLoading = false;
  HWND FHandle = nullptr;
  TWindow* FWinControl = nullptr;
  // The control that promised to tell this hook of its end.
  TWindow* FNotifier = nullptr;
  WNDPROC FOldWndProc = nullptr;
  WNDPROC FNewWndProc = nullptr;
  // The window whose chain this hook is in; null when it is in none.
  HWND FHookedWnd = nullptr;
  CallFrame* FCalls = nullptr;
};

// The hook as a component of a form: everything of the base, for use as is.
class TWndProcHook : public TCustomWndProcHook {
 public:
  using TCustomWndProcHook::TCustomWndProcHook;
};

}  // namespace lumitrax
