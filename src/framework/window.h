#pragma once
// The window base: a C++ object behind every window the program creates. The
// window procedure reaches the object through GWLP_USERDATA, bound at the first
// message the window receives and cleared at WM_NCDESTROY.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumitrax {

// Base of everything with a name and a tag: handlers that serve several
// components tell them apart by Tag.
class TComponent {
 public:
  TComponent() = default;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  virtual ~TComponent() = default;

  std::wstring Name;
  intptr_t Tag = 0;

  // Tells this component that another one is going away (one it asked to be
  // told of, see TWindow::FreeNotification).
  virtual void Notification(TComponent& /*component*/) {}
};

using TNotifyEvent = std::function<void(TComponent& sender)>;

struct TCreateParams {
  std::wstring class_name;       // our window class
  const wchar_t* base_class = nullptr;  // a system class to superclass ("BUTTON", "EDIT", ...)
  std::wstring caption;
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD ex_style = 0;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  HWND parent = nullptr;
  UINT class_style = CS_DBLCLKS;
  HBRUSH background = nullptr;
  HCURSOR cursor = nullptr;
  HMENU id = nullptr;
};

class TWindow : public TComponent {
 public:
  TWindow();
  ~TWindow() override;

  // The window handle; creates the window when it does not exist yet.
  HWND Handle();
  bool HandleAllocated() const noexcept { return handle_ != nullptr; }
  void DestroyHandle();

  // The object behind a window created by this framework, or null.
  static TWindow* FromHandle(HWND window) noexcept;

  // Asks this window's object to call component.Notification(*this) when it is
  // destroyed, while it and its window are still whole; a component that goes
  // first withdraws with RemoveFreeNotification. Asking twice asks once.
  void FreeNotification(TComponent& component);
  void RemoveFreeNotification(TComponent& component) noexcept;

  // Sends a message to this window's procedure chain (subclassers included).
  LRESULT Perform(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);

  // True for windows whose child controls take the dialog keys (Tab, arrows,
  // Enter, Escape) through IsDialogMessage in the application's loop.
  virtual bool WantsDialogKeys() const { return false; }
  // A look at a key message for this top-level window before its control gets
  // it; true consumes the message.
  virtual bool PreviewKeyMessage(MSG& /*msg*/) { return false; }

  // The font children of this window show (null: the system font).
  virtual HFONT Font() { return nullptr; }

  // The DPI this window is laid out for: the one its last WM_DPICHANGED
  // named, or else the window's (the system's before it exists). Controls
  // take their parent's.
  virtual UINT Dpi();

 protected:
  virtual void CreateParams(TCreateParams& params);
  // Creates the window from CreateParams; overridden by windows that must learn
  // of every re-creation of their handle.
  virtual void CreateWnd();
  virtual LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam);
  // The procedure the window had before us: DefWindowProc, or the system class's
  // procedure for superclassed controls.
  LRESULT DefaultHandler(UINT message, WPARAM wparam, LPARAM lparam);
  // Called after WM_NCDESTROY, when the handle is gone.
  virtual void HandleDestroyed() {}
  // The DPI the window now shows at, from WM_DPICHANGED.
  void SetDpi(UINT dpi) noexcept { dpi_ = dpi; }

 private:
  static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static WNDPROC RegisterClassFor(const TCreateParams& params);

  // Entries of withdrawn components are null while the destructor tells the others.
  std::vector<TComponent*> free_notifies_;
  bool destroying_ = false;
  HWND handle_ = nullptr;
  WNDPROC base_proc_ = ::DefWindowProcW;
  UINT dpi_ = 0;
};

// Notifications a parent receives for a child (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*) are reflected to the child's
// object as the same message plus this offset, so each control handles its own.
constexpr UINT CN_BASE = 0xBC00;

// Ends the mouse tracking that the window or any window inside it holds (our
// labels' leave tracking, the common controls' hot-tracking) and, when asked,
// tells the tracked control the mouse has left. A hidden or destroyed window
// keeps no tracking alive: the system would go on polling the resting
// pointer for it, and a stale tracking keeps other controls from tracking.
void CancelMouseTracking(HWND window, bool tell_control = true);

// The device-independent pixel helpers: 96-dpi values scaled to a window's DPI.
UINT WindowDpi(HWND window);
// Lets `message` reach `window` from programs with fewer rights: a copy run as
// administrator would otherwise never see it (User Interface Privilege
// Isolation drops it). Whether Windows took the filter.
bool AllowMessageFromLesserRights(HWND window, UINT message);
// The system call behind it; tests replace it to see which messages pass.
using TChangeMessageFilter = BOOL(WINAPI*)(HWND window, UINT message, DWORD action, PCHANGEFILTERSTRUCT status);
extern TChangeMessageFilter ChangeMessageFilter;
int ScaleForDpi(int value96, UINT dpi);

}  // namespace lumitrax
