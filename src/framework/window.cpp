#include "framework/window.h"

#include "framework/theme.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "framework/application.h"
#include "framework/boundary.h"
#include "framework/errors.h"
#include "framework/handles.h"
#include "framework/os_functions.h"

namespace lumitrax {
namespace {

// The object whose window is being created: the first messages
// (WM_GETMINMAXINFO, WM_NCCREATE) arrive before CreateWindowEx returns. The
// program makes its windows on its one GUI thread only; a thread-local here
// would bring the whole thread library into the program for nothing.
TWindow* g_creating = nullptr;

// Procedures of the system classes we superclassed, by our class name.
std::map<std::wstring, WNDPROC>& BaseProcs() {
  static std::map<std::wstring, WNDPROC> procs;
  return procs;
}

// Set when the window map is gone, at the end of the process. A plain flag
// with no destructor of its own, so it can still be read after that.
bool g_window_map_gone = false;

struct TWindowMap {
  std::unordered_map<HWND, TWindow*> windows;
  ~TWindowMap() { g_window_map_gone = true; }
};

// Every live window of ours, for FromHandle. Every window object touches the
// map as it is constructed, so the map is destroyed after every window object
// of static storage (the application's, the timers'): none can outlive it.
std::unordered_map<HWND, TWindow*>& LiveWindows() {
  static TWindowMap map;
  if (g_window_map_gone) FatalError("the window map", "a window was used after the framework's window map was destroyed");
  return map.windows;
}

}  // namespace

TWindow::TWindow() { LiveWindows(); }

TWindow::~TWindow() {
  // Those who asked are told first, while the window still stands; one told
  // may withdraw others (or itself), which leaves their entries null.
  destroying_ = true;
  for (size_t i = 0; i < free_notifies_.size(); ++i) {
    TComponent* const component = std::exchange(free_notifies_[i], nullptr);
    if (component) component->Notification(*this);
  }
  DestroyHandle();
}

void TWindow::FreeNotification(TComponent& component) {
  if (destroying_) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), &component) == free_notifies_.end())
    free_notifies_.push_back(&component);
}

void TWindow::RemoveFreeNotification(TComponent& component) noexcept {
  if (destroying_) {
    std::replace(free_notifies_.begin(), free_notifies_.end(), &component, static_cast<TComponent*>(nullptr));
    return;
  }
  std::erase(free_notifies_, &component);
}

HWND TWindow::Handle() {
  if (!handle_) CreateWnd();
  return handle_;
}

void TWindow::DestroyHandle() {
  if (handle_) ::DestroyWindow(handle_);
  handle_ = nullptr;
}

TWindow* TWindow::FromHandle(HWND window) noexcept {
  const auto& windows = LiveWindows();
  const auto found = windows.find(window);
  return found == windows.end() ? nullptr : found->second;
}

UINT TWindow::Dpi() { return dpi_ ? dpi_ : WindowDpi(handle_); }

LRESULT TWindow::Perform(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::SendMessageW(Handle(), message, wparam, lparam);
}

void TWindow::CreateParams(TCreateParams& params) {
  params.class_name = L"TWindow";
  params.cursor = ::LoadCursorW(nullptr, IDC_ARROW);
}

WNDPROC TWindow::RegisterClassFor(const TCreateParams& params) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  auto& procs = BaseProcs();
  if (auto found = procs.find(params.class_name); found != procs.end()) return found->second;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  WNDPROC base = ::DefWindowProcW;
  if (params.base_class) {
    if (!::GetClassInfoExW(nullptr, params.base_class, &wc))
      throw AppError(L"Unknown window class " + std::wstring(params.base_class));
    base = wc.lpfnWndProc;
    wc.cbSize = sizeof(wc);
  } else {
    wc.style = params.class_style;
    wc.hCursor = params.cursor;
    wc.hbrBackground = params.background;
  }
  wc.lpfnWndProc = StaticWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = params.class_name.c_str();
  if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw AppError(L"Cannot register the window class " + params.class_name);
  procs.emplace(params.class_name, base);
  return base;
}

void TWindow::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  base_proc_ = RegisterClassFor(params);
  TWindow* const outer = g_creating;
  g_creating = this;
  const HWND window = ::CreateWindowExW(params.ex_style, params.class_name.c_str(), params.caption.c_str(),
                                        params.style, params.x, params.y, params.width, params.height,
                                        params.parent, params.id, ::GetModuleHandleW(nullptr), this);
  g_creating = outer;
  if (!window) throw AppError(L"Cannot create the window of class " + params.class_name);
  handle_ = window;
}

LRESULT TWindow::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND:
      child = reinterpret_cast<HWND>(lparam);
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<NMHDR*>(lparam);
      child = header->hwndFrom;
      // Push buttons that are no objects of ours (a message dialog's) take
      // the theme's look as well.
      if (header->code == NM_CUSTOMDRAW && child && !FromHandle(child)) {
        wchar_t class_name[16] = {};
        ::GetClassNameW(child, class_name, 16);
        if (::lstrcmpiW(class_name, L"Button") == 0)
          return Theme().CustomDrawPushButton(child, *reinterpret_cast<const NMCUSTOMDRAW*>(lparam));
      }
      break;
    }
    case WM_DRAWITEM:
      child = reinterpret_cast<DRAWITEMSTRUCT*>(lparam)->hwndItem;
      break;
    case WM_MEASUREITEM:
      child = ::GetDlgItem(handle_, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->CtlID));
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      child = reinterpret_cast<HWND>(lparam);
      if (child && FromHandle(child)) {
        if (const LRESULT brush = ::SendMessageW(child, CN_BASE + message, wparam, lparam)) return brush;
      }
      if (const HBRUSH brush = Theme().ControlColors(message, reinterpret_cast<HDC>(wparam)))
        return reinterpret_cast<LRESULT>(brush);
      return DefaultHandler(message, wparam, lparam);
    default:
      break;
  }
  if (child && child != handle_ && FromHandle(child)) return ::SendMessageW(child, CN_BASE + message, wparam, lparam);
  return DefaultHandler(message, wparam, lparam);
}

LRESULT TWindow::DefaultHandler(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::CallWindowProcW(base_proc_, handle_, message, wparam, lparam);
}

LRESULT CALLBACK TWindow::StaticWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<TWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self && g_creating) {
    self = g_creating;
    g_creating = nullptr;
    self->handle_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    LiveWindows()[window] = self;
  }
  if (!self) return ::DefWindowProcW(window, message, wparam, lparam);
  // A window that goes tells no control of it, but leaves no tracking behind.
  if (message == WM_DESTROY) CancelMouseTracking(window, false);

  // Never let an exception escape into the system.
  const LRESULT result =
      CallbackBoundary("a window procedure", LRESULT{0}, [&] { return self->WndProc(message, wparam, lparam); });
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    LiveWindows().erase(window);
    if (self->handle_ == window) {
      self->handle_ = nullptr;
      self->dpi_ = 0;
      self->HandleDestroyed();
    }
  }
  return result;
}

void CancelMouseTracking(HWND window, bool tell_control) {
  TRACKMOUSEEVENT query{sizeof(query), TME_QUERY, nullptr, 0};
  if (!window || !::TrackMouseEvent(&query) || !query.hwndTrack) return;
  if (query.hwndTrack != window && !::IsChild(window, query.hwndTrack)) return;
  const DWORD kinds = query.dwFlags & (TME_HOVER | TME_LEAVE | TME_NONCLIENT);
  TRACKMOUSEEVENT cancel{sizeof(cancel), TME_CANCEL | kinds, query.hwndTrack, 0};
  ::TrackMouseEvent(&cancel);
  // The control learns the mouse is gone, so it drops its hot look and state.
  if (tell_control && (kinds & TME_LEAVE))
    ::SendMessageW(query.hwndTrack, (kinds & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

UINT WindowDpi(HWND window) {
  const UINT dpi = window ? os::DpiForWindow(window) : 0;
  if (dpi) return dpi;
  WindowDc screen(nullptr);
  return static_cast<UINT>(::GetDeviceCaps(screen.get(), LOGPIXELSY));
}

TChangeMessageFilter ChangeMessageFilter = &::ChangeWindowMessageFilterEx;

bool AllowMessageFromLesserRights(HWND window, UINT message) {
  // Windows 7 and later. Wine has no privilege isolation; its answer is a stub.
  CHANGEFILTERSTRUCT status{sizeof(status), 0};
  return ChangeMessageFilter(window, message, MSGFLT_ALLOW, &status) != FALSE;
}

int ScaleForDpi(int value96, UINT dpi) { return ::MulDiv(value96, static_cast<int>(dpi), 96); }

}  // namespace lumitrax
