#include "osd/form_osd.h"

#include "framework/language.h"

#include <commctrl.h>

#include <optional>
#include <utility>

#include "framework/win_registry.h"
#include "core/color_list.h"
#include "core/placement.h"
#include "framework/application.h"
#include "framework/os_functions.h"
#include "framework/text.h"
#include "framework/work_area.h"

namespace lumitrax {
namespace {

// Posted to the display's own window once a fade that outlived its owner has
// returned; the window is freed when it arrives.
// The longest line of the design ("Scroll Lock OFF" in English), in the language in use.
std::wstring DesignCaption() { return TrFormat(T::OsdLine, {Tr(T::ScrollLock), Tr(T::OsdOff)}); }
constexpr UINT WM_OSDRELEASE = WM_APP + 0x0D5;

constexpr int kBodyMargin = 1;
constexpr UINT kTextFormat = DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS | DT_NOCLIP;

core::Rect WindowRect(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return ToRect(rect);
}

core::WindowsVersion RunningWindowsVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!::GetVersionExW(&info)) return {};
  return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

}  // namespace

COLORREF ColorToRgb(core::Color color) {
  if (core::IsSystemColor(color)) return ::GetSysColor(static_cast<int>(color & 0xFF));
  return core::PlainColor(color);
}

bool LayeredWindowsSupported(const core::WindowsVersion& version) {
  constexpr uint32_t Windows9x = 1;
  constexpr uint32_t WindowsNt = 2;
  constexpr uint32_t Windows2000Major = 5;
  return version.PlatformId != Windows9x && !(version.PlatformId == WindowsNt && version.Major < Windows2000Major);
}

bool LayeredWindowsSupported() { return LayeredWindowsSupported(RunningWindowsVersion()); }

void DelayWithMessages(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  do {
    Application().ProcessMessages();
    // Give the processor back between rounds; the wait is short anyway.
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  } while (::GetTickCount() - start < milliseconds);
}

TfrmOsd::TfrmOsd(TOsdHost& host, std::unique_ptr<core::RegistryStore> registry, bool copy)
    : FHost(host), FRegistry(std::move(registry)), FCopy(copy) {
  Name = L"frmOsd";
  FText = DesignCaption();
  OnShow = [this](TComponent&) { FormShow(); };
  OnHide = [this](TComponent&) { FormHide(); };
  tmrVisible.OnTimer = [this](TComponent&) { tmrVisibleTimer(); };
  tmrHideAfter.OnTimer = [this](TComponent&) { tmrHideAfterTimer(); };
  WndProcHook.SetAutoDrag(true);
  WndProcHook.OnMessageBefore = [this](TCustomWndProcHook&, THookMessage& msg, bool&) {
    WndProcHookMessageBefore(msg);
  };
  WndProcHook.OnMessageAfter = [this](TCustomWndProcHook&, THookMessage& msg, bool&) {
    WndProcHookMessageAfter(msg);
  };
  FormCreate();
  WndProcHook.SetActive(true);
}

TfrmOsd::~TfrmOsd() = default;

void TfrmOsd::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.class_name = L"TfrmOsd";
  params.style = WS_POPUP;
  // No taskbar button or Alt+Tab entry, above normal windows, and a click
  // never takes the focus from the application the user works in.
  params.ex_style = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  if (FLayered) params.ex_style |= WS_EX_LAYERED;
  params.background = nullptr;
  params.cursor = ::LoadCursorW(nullptr, IDC_SIZEALL);
  params.x = params.y = 0;
  params.width = params.height = 0;
}

void TfrmOsd::FormCreate() {
  FLayered = LayeredWindowsSupported();
  const HWND window = Handle();
  if (FLayered) SetAlpha(FAlpha);
  FSize = core::OsdDefaultSize;
  FBodyColor = ::GetSysColor(COLOR_BTNFACE);
  FTextColor = core::clWhite;
  SetFontSize(FSize);

  // Placed with room for wider texts first, then shrunk to the body: the
  // default position far beyond the corner leaves the display's corner where
  // a window of the design caption plus a scroll bar's width would end.
  const SIZE body = TextExtent(FText);
  const core::OsdFrameSize frame =
      core::OsdLoadingFrameSize({body.cx + 2 * BodyMargin(), body.cy + 2 * BodyMargin()},
                                ::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL));
  ::SetWindowPos(window, nullptr, 0, 0, frame.Width, frame.Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  FRegRoot = RootOf(FHost.SettingsRoot());
  FRegKey = core::SubkeyPath(Narrow(FHost.SettingsKey()), "OSD");
  LoadBounds();
  FitToText();
  CreateHint();
}

void TfrmOsd::CreateHint() {
  // The tip is told of the mouse's moves by hand, not by subclassing the
  // window: it hears nothing while a drag runs, so it cannot disturb the
  // system's move loop. Always shown, as the display is never active.
  AddHint(Handle(), Tr(T::OsdHint), THintFeed::Relayed);
}

void TfrmOsd::RelayToHint(const THookMessage& msg) {
  if (!ToolTip() || FDragging) return;
  MSG relayed{};
  relayed.hwnd = Handle();
  relayed.message = msg.Msg;
  relayed.wParam = msg.WParam;
  relayed.lParam = msg.LParam;
  relayed.time = static_cast<DWORD>(::GetMessageTime());
  ::GetCursorPos(&relayed.pt);
  ::SendMessageW(ToolTip(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void TfrmOsd::SuspendHint(bool suspend) {
  FDragging = suspend;
  if (!ToolTip()) return;
  // Deactivating also hides a tip that shows.
  ::SendMessageW(ToolTip(), TTM_ACTIVATE, !suspend, 0);
}

bool TfrmOsd::Display(bool AShow, int AOpacity, int ASize, core::Color ABodyColor, core::Color ATextColor,
                      const std::string& AText) {
  if (ABodyColor != FBodyColor) {
    FBodyColor = ABodyColor;
    if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, FALSE);
  }
  if (ATextColor != FTextColor) {
    FTextColor = ATextColor;
    if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, FALSE);
  }
  if (ASize != FSize) {
    FSize = ASize;
    SetFontSize(FSize);
    FitToText();
  }
  // The alpha goes first, so a showing window never flashes at another opacity.
  SetAlpha(core::OsdAlpha(AOpacity));
  const std::wstring text = Widen(AText);
  if (core::OsdWindowShown(AShow, AText)) {
    // The text first, so the window shows at its final size.
    FText = text;
    FitToText();
    MoveToPlace();
    if (!Visible()) ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  } else {
    Hide();
    FText = text;
    FitToText();
  }
  return true;
}

void TfrmOsd::StayOnTop() {
  const bool trayMenuOpen = FHost.TrayMenuShowing();
  if (!core::OsdShouldStayOnTop({Visible(), FHost.SettingsShown(), trayMenuOpen, FHost.SettingsCommandEnabled()}))
    return;
  KeepInWorkArea();
  BringToTopmost();
}

void TfrmOsd::BringToTopmost() {
  constexpr UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOSENDCHANGING;  // 0x413
  const HWND window = Handle();
  ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
  ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

void TfrmOsd::RestartHideTimer(bool hide_after, int seconds, bool settings_shown) {
  tmrHideAfter.SetEnabled(false);
  const core::HideTimerSetting setting = core::RestartHideTimer(hide_after, seconds, settings_shown);
  if (setting.IntervalMs == 0) return;
  tmrHideAfter.SetInterval(setting.IntervalMs);
  tmrHideAfter.SetEnabled(setting.Enabled);
}

void TfrmOsd::tmrHideAfterTimer() {
  if (!core::OsdHideTimerTick(FPress, Position())) return;
  tmrHideAfter.SetEnabled(false);
  FadeOut();
}

void TfrmOsd::FadeOut() {
  const uint8_t alpha = FAlpha;
  bool stopped = false;
  if (FLayered) {
    FFading = true;
    uint8_t step = alpha;
    while (step > 0) {
      step = core::NextFadeAlpha(step);
      SetAlpha(step);
      DelayWithMessages(core::OsdFadeStepDelayMs);
      // A refresh re-armed the countdown, or the display is going away.
      if (tmrHideAfter.Enabled() || FReleased) {
        stopped = true;
        break;
      }
    }
    FFading = false;
  }
  if (FReleased) {
    // Freed from the queue, once nothing of this window is on the stack.
    ::PostMessageW(Handle(), WM_OSDRELEASE, 0, 0);
    return;
  }
  // Hidden before the alpha comes back, so the faded window does not flash.
  if (!stopped) Hide();
  SetAlpha(alpha);
}

void TfrmOsd::ReleaseAfterFade(std::unique_ptr<TfrmOsd> osd) {
  TfrmOsd& self = *osd;
  self.FReleased = std::move(osd);
}

void TfrmOsd::tmrVisibleTimer() { StayOnTop(); }

void TfrmOsd::FormShow() {
  tmrVisible.SetEnabled(true);
  StayOnTop();
}

void TfrmOsd::FormHide() {
  if (ToolTip()) ::SendMessageW(ToolTip(), TTM_POP, 0, 0);
  tmrVisible.SetEnabled(false);
  tmrHideAfter.SetEnabled(false);
  SaveBounds();
}

void TfrmOsd::FormDblClick() {
  FHost.OpenSettings();
}

void TfrmOsd::SetPlace(const std::optional<TOsdPlace>& place) {
  const bool was_placed = FPlace.has_value();
  FPlace = place;
  if (FPlace) {
    MoveToPlace();
  } else if (was_placed) {
    ::SetWindowPos(Handle(), nullptr, FStoredPosition.x, FStoredPosition.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    KeepInWorkArea();
  }
}

core::Rect TfrmOsd::StoredPlace() {
  const core::Rect now = WindowRect(Handle());
  return {FStoredPosition.x, FStoredPosition.y, FStoredPosition.x + now.Width(), FStoredPosition.y + now.Height()};
}

void TfrmOsd::MoveToPlace() {
  if (!FPlace) return;
  const HWND window = Handle();
  const core::MonitorArea& monitor = FPlace->Monitor;
  // On a monitor of another scale the window first goes there, so that it
  // takes that scale (WM_DPICHANGED) and its size there before it is placed.
  if (static_cast<int>(Dpi()) != monitor.Dpi) {
    ::SetWindowPos(window, nullptr, monitor.Work.left, monitor.Work.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A hidden window may take the monitor's scale without the message.
    const UINT now = os::DpiForWindow(window);
    if (now && now != Dpi()) {
      RECT frame{};
      ::GetWindowRect(window, &frame);
      DpiChanged(now, frame);
    }
  }
  const core::Rect now = WindowRect(window);
  const core::Rect placed = core::PlaceAtAnchor(FPlace->Anchor, monitor, now.Width(), now.Height());
  if (placed == now) return;
  ::SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmOsd::LoadBounds() {
  const std::string bounds =
      core::ReadRegistryString(*FRegistry, FRegRoot, FRegKey, "Bounds", core::OsdDefaultBounds);
  const core::Rect stored = core::StrToRect(bounds);
  ::SetWindowPos(Handle(), nullptr, stored.left, stored.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  KeepInWorkArea();
  FStoredPosition = Position();
}

void TfrmOsd::SaveBounds() {
  if (FCopy) return;
  const HWND window = Handle();
  if (FPlace) {
    // Shown elsewhere for the user: the place the user chose is what stays.
    core::WriteRegistryString(*FRegistry, FRegRoot, FRegKey, "Bounds", core::RectToStr(StoredPlace()));
    return;
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  std::optional<core::Rect> normal;
  if (::GetWindowPlacement(window, &placement)) normal = ToRect(placement.rcNormalPosition);
  const core::Rect bounds = core::BoundsToStore(normal, WindowRect(window));
  core::WriteRegistryString(*FRegistry, FRegRoot, FRegKey, "Bounds", core::RectToStr(bounds));
}

void TfrmOsd::WndProcHookMessageBefore(THookMessage& msg) {
  if (msg.Msg == WM_MOUSEMOVE) RelayToHint(msg);
  // The tip goes before a press can start the drag.
  if (msg.Msg == WM_LBUTTONDOWN) SuspendHint(true);
  if (msg.Msg != WM_LBUTTONDOWN && msg.Msg != WM_LBUTTONUP) return;
  core::OsdMouseButton(FPress, msg.Msg == WM_LBUTTONDOWN, Position());
  // A press on the display brings the program's open window along.
  const HWND app = Application().Handle();
  const HWND popup = ::GetLastActivePopup(app);
  if (popup && popup != app && popup != Handle() && ::IsWindowVisible(popup) && ::IsWindowEnabled(popup))
    ::SetForegroundWindow(popup);
}

void TfrmOsd::WndProcHookMessageAfter(const THookMessage& msg) {
  // The press has been handled: the drag it started is over.
  if (msg.Msg == WM_LBUTTONDOWN) SuspendHint(false);
}

LRESULT TfrmOsd::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_OSDRELEASE: {
      // The last thing this object does: nothing of it is touched afterwards.
      std::unique_ptr<TfrmOsd> self = std::move(FReleased);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDc dc(Handle());
      Paint(dc.get());
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      FormDblClick();
      return 0;
    case WM_CONTEXTMENU: {
      POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      if (lparam == -1) ::GetCursorPos(&at);
      FHost.PopupTrayMenu(Handle(), at);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_EXITSIZEMOVE:
      // Dragged: where it was dropped is the user's place from now on.
      // The next update takes its corner from there. A copy's drop chooses the
      // place of the display it copies.
      FStoredPosition = Position();
      if (FCopy && OnCopyDropped) OnCopyDropped(FStoredPosition);
      return TForm::WndProc(message, wparam, lparam);
    default:
      return TForm::WndProc(message, wparam, lparam);
  }
}

void TfrmOsd::SetAlpha(uint8_t alpha) {
  FAlpha = alpha;
  if (FLayered && HandleAllocated()) ::SetLayeredWindowAttributes(Handle(), 0, alpha, LWA_ALPHA);
}

void TfrmOsd::SetFontSize(int size) {
  const int height = core::FontHeightPixels(core::OsdFontPointSize(size), static_cast<int>(Dpi()));
  LOGFONTW log{};
  log.lfHeight = -height;
  log.lfWeight = FW_BOLD;
  log.lfCharSet = DEFAULT_CHARSET;
  log.lfQuality = DEFAULT_QUALITY;
  UiFontFace().copy(log.lfFaceName, LF_FACESIZE - 1);
  FFont.reset(::CreateFontIndirectW(&log));
}

SIZE TfrmOsd::TextExtent(const std::wstring& text) {
  WindowDc dc(Handle());
  SelectObjectScope font(dc.get(), FFont.get());
  RECT rect{0, 0, 0, 0};
  // An empty caption measures as one space, as a label does.
  const std::wstring measured = text.empty() ? L" " : text;
  ::DrawTextW(dc.get(), measured.c_str(), static_cast<int>(measured.size()), &rect, kTextFormat | DT_CALCRECT);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void TfrmOsd::FitToText() {
  const SIZE text = TextExtent(FText);
  ::SetWindowPos(Handle(), nullptr, 0, 0, text.cx + 2 * BodyMargin(), text.cy + 2 * BodyMargin(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TfrmOsd::Paint(HDC dc) {
  RECT client{};
  ::GetClientRect(Handle(), &client);
  UniqueBrush body(::CreateSolidBrush(ColorToRgb(FBodyColor)));
  ::FillRect(dc, &client, body.get());
  SelectObjectScope font(dc, FFont.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ColorToRgb(FTextColor));
  const int margin = BodyMargin();
  RECT text{client.left + margin, client.top + margin, client.right - margin, client.bottom - margin};
  ::DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &text, kTextFormat);
}

int TfrmOsd::BodyMargin() { return ScaleForDpi(kBodyMargin, Dpi()); }

void TfrmOsd::DpiChanged(UINT dpi, const RECT& suggested) {
  SetDpi(dpi);
  SetFontSize(FSize);
  ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FitToText();
  KeepInWorkArea();
}

void TfrmOsd::KeepInWorkArea() {
  const core::Rect now = WindowRect(Handle());
  const core::Rect kept = core::KeepInWorkArea(now, WorkAreaNear(now));
  if (kept == now) return;
  ::SetWindowPos(Handle(), nullptr, kept.left, kept.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

core::Point TfrmOsd::Position() {
  const core::Rect now = WindowRect(Handle());
  return {now.left, now.top};
}

}  // namespace lumitrax
