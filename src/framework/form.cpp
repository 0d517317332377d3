#include "framework/form.h"

#include <commctrl.h>

#include <utility>

#include "framework/application.h"
#include "framework/control.h"
#include "framework/scope_exit.h"
#include "framework/theme.h"

namespace lumitrax {

TShiftState CurrentShiftState() {
  unsigned state = 0;
  if (::GetKeyState(VK_SHIFT) < 0) state |= ssShift;
  if (::GetKeyState(VK_MENU) < 0) state |= ssAlt;
  if (::GetKeyState(VK_CONTROL) < 0) state |= ssCtrl;
  return static_cast<TShiftState>(state);
}

TForm::TForm() { Application().FormConstructed(*this); }

TForm::~TForm() {
  if (Application().MainForm == this) Application().MainForm = nullptr;
}

void TForm::CreateParams(TCreateParams& params) {
  TWindow::CreateParams(params);
  params.class_name = L"TForm";
  params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  params.ex_style = WS_EX_CONTROLPARENT;
  params.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  params.parent = Application().Handle();
}

void TForm::CreateWnd() {
  TWindow::CreateWnd();
  if (HICON icon = Application().Icon()) {
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  Theme().ApplyTitleBar(Handle());
}

void TForm::ThemeChanged() {
  Theme().ApplyTitleBar(Handle());
  std::vector<HWND> children;
  ::EnumChildWindows(
      Handle(),
      [](HWND child, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  for (HWND child : children)
    if (auto* control = dynamic_cast<TControl*>(TWindow::FromHandle(child))) control->ThemeChanged();
  ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void TForm::Show() { SetVisible(true); }

void TForm::Hide() { SetVisible(false); }

bool TForm::Visible() const {
  return HandleAllocated() && ::IsWindowVisible(const_cast<TForm*>(this)->Handle());
}

void TForm::SetVisible(bool visible) {
  if (visible == Visible()) return;
  ::ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
}

void TForm::BringToFront() {
  const HWND window = Handle();
  ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(window);
}

void TForm::SetFont(const std::wstring& face, int height96, bool bold) {
  font_face_ = face;
  font_height96_ = height96;
  font_bold_ = bold;
  font_.reset();
}

HFONT TForm::Font() {
  if (!font_) {
    LOGFONTW log{};
    log.lfHeight = -ScaleForDpi(font_height96_, Dpi());
    log.lfWeight = font_bold_ ? FW_BOLD : FW_NORMAL;
    log.lfCharSet = DEFAULT_CHARSET;
    log.lfQuality = CLEARTYPE_QUALITY;
    font_face_.copy(log.lfFaceName, LF_FACESIZE - 1);
    font_.reset(::CreateFontIndirectW(&log));
  }
  return font_.get();
}

void TForm::AddHint(HWND control, const std::wstring& text, THintFeed feed) {
  if (!tool_tip_) {
    // Owned by the form's window: Windows destroys it with that window, which
    // makes the window its one owner.
    tool_tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
  }
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | (feed == THintFeed::Subclass ? TTF_SUBCLASS : 0);
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  // A control's tip given anew (another language) replaces its text.
  TTTOOLINFOW known{};
  known.cbSize = sizeof(known);
  known.hwnd = tool.hwnd;
  known.uId = tool.uId;
  if (::SendMessageW(tool_tip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&known)))
    ::SendMessageW(tool_tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  else
    ::SendMessageW(tool_tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TForm::HandleDestroyed() {
  // The tool tip went with the window it belongs to.
  tool_tip_ = nullptr;
}

void TForm::DpiChanged(UINT dpi, const RECT& suggested) {
  SetDpi(dpi);
  // The controls let go of the old font before it is deleted.
  const UniqueFont old = std::move(font_);
  ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RescaleControls();
  ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm::RescaleControls() {
  std::vector<HWND> children;
  ::EnumChildWindows(
      Handle(),
      [](HWND child, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  for (HWND child : children)
    if (auto* control = dynamic_cast<TControl*>(TWindow::FromHandle(child))) control->ScaleChanged();
}

bool TForm::CloseQuery() {
  bool can_close = true;
  if (OnCloseQuery) OnCloseQuery(*this, can_close);
  return can_close;
}

TTaskWindowsDisabler::TTaskWindowsDisabler(HWND modal_window) {
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM list) -> BOOL {
        if (::IsWindowVisible(window) && ::IsWindowEnabled(window))
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&disabled_));
  std::erase(disabled_, modal_window);
  for (HWND window : disabled_) ::EnableWindow(window, FALSE);
}

TTaskWindowsDisabler::~TTaskWindowsDisabler() {
  for (HWND window : disabled_)
    if (::IsWindow(window)) ::EnableWindow(window, TRUE);
}

int TForm::ShowModal() {
  ModalResult = mrNone;
  const HWND window = Handle();
  TTaskWindowsDisabler disabler(window);
  modal_ = true;
  const ScopeExit end_modal([this] {
    modal_ = false;
    if (HandleAllocated()) ::ShowWindow(Handle(), SW_HIDE);
  });
  Show();
  ::SetForegroundWindow(window);
  Application().ModalLoop([this] { return ModalResult != mrNone || !HandleAllocated(); });
  if (ModalResult == mrNone) ModalResult = mrCancel;
  return ModalResult;
}

void TForm::Close() {
  if (modal_) {
    if (CloseQuery()) ModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::Hide;
  if (OnClose) OnClose(*this, action);
  if (action == TCloseAction::None) return;
  if (Application().MainForm == this) {
    Application().Terminate();
  } else if (action == TCloseAction::Hide) {
    Hide();
  } else if (action == TCloseAction::Minimize) {
    ::ShowWindow(Handle(), SW_MINIMIZE);
  } else {
    DestroyHandle();
  }
}

bool TForm::PreviewKeyMessage(MSG& msg) {
  if (!KeyPreview || !OnKeyDown || (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)) return false;
  WORD key = static_cast<WORD>(msg.wParam);
  OnKeyDown(*this, key, CurrentShiftState());
  if (key == 0) return true;
  msg.wParam = key;
  return false;
}

LRESULT TForm::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ERASEBKGND: {
      RECT client{};
      ::GetClientRect(Handle(), &client);
      ::FillRect(reinterpret_cast<HDC>(wparam), &client, Theme().FaceBrush());
      return 1;
    }
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
      // Every form follows; the first to hear of it reads the theme again.
      if (TTheme::IsThemeChange(message, wparam, lparam)) {
        Theme().Refresh();
        ThemeChanged();
      }
      break;
    case WM_DPICHANGED:
      DpiChanged(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_WINDOWPOSCHANGED: {
      // After the change, so that the handlers see the form as it now is.
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lparam);
      if ((pos->flags & SWP_SHOWWINDOW) && OnShow) OnShow(*this);
      if (pos->flags & SWP_HIDEWINDOW) {
        CancelMouseTracking(Handle());
        if (OnHide) OnHide(*this);
      }
      break;
    }
    default:
      break;
  }
  return TWindow::WndProc(message, wparam, lparam);
}

}  // namespace lumitrax
