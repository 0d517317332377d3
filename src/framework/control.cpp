#include "framework/control.h"

#include <commctrl.h>
#include <oleacc.h>

#include "framework/theme.h"

#include <utility>

namespace lumitrax {
namespace {

int NextControlId() {
  static int next = 1000;
  return next++;
}

}  // namespace

TControl::TControl(TWindow& parent) : parent_(&parent), id_(NextControlId()) {}

int TControl::Scale(int value96) { return ScaleForDpi(value96, Dpi()); }

void TControl::SetBounds(int left, int top, int width, int height) {
  bounds_ = RECT{left, top, left + width, top + height};
  if (HandleAllocated())
    ::SetWindowPos(Handle(), nullptr, Scale(left), Scale(top), Scale(width), WindowHeight(height),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void TControl::ScaleChanged() {
  if (!HandleAllocated()) return;
  SetBounds(bounds_.left, bounds_.top, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top);
  if (HFONT font = Font()) ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TControl::ThemeChanged() {
  if (ClassicLookInDark && HandleAllocated()) Theme().ApplyControlLook(Handle(), Theme().Dark());
}

void TControl::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  if (HandleAllocated()) ::SetWindowTextW(Handle(), caption_.c_str());
}

void TControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (HandleAllocated()) ::EnableWindow(Handle(), enabled);
}

void TControl::SetVisible(bool visible) {
  visible_ = visible;
  if (HandleAllocated()) ::ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void TControl::CreateParams(TCreateParams& params) {
  TWindow::CreateParams(params);
  params.class_name = L"TControl";
  params.caption = caption_;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED);
  params.ex_style = 0;
  params.parent = parent_->Handle();
  params.x = Scale(bounds_.left);
  params.y = Scale(bounds_.top);
  params.width = Scale(bounds_.right - bounds_.left);
  params.height = WindowHeight(bounds_.bottom - bounds_.top);
  params.id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_));
  if (IsLink) params.style |= WS_TABSTOP;
}

void TControl::CreateWnd() {
  TWindow::CreateWnd();
  if (ClassicLookInDark && Theme().Dark()) Theme().ApplyControlLook(Handle(), true);
  if (HFONT font = Font()) ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void TControl::AccessibleChanged(DWORD event) {
  if (HandleAllocated()) NotifyAccessibleChange(Handle(), event);
}

void TControl::DescribeForAccessibility(TAccessibleAnswer& answer) {
  if (AccessibleRole) answer.role = AccessibleRole;
  if (IsLink) {
    // A link is named after where it leads: its hint, else its text.
    answer.name = Hint.empty() ? caption_ : Hint;
    answer.role = ROLE_SYSTEM_LINK;
    answer.states_on |= STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
  }
  if (OnAccessible) OnAccessible(answer);
}

std::wstring TControl::LabelBefore() {
  if (!HandleAllocated()) return {};
  auto* label = dynamic_cast<TLabel*>(TWindow::FromHandle(::GetWindow(Handle(), GW_HWNDPREV)));
  if (!label) return {};
  std::wstring text = label->Caption();
  if (const size_t amp = text.find(L'&'); amp != std::wstring::npos) text.erase(amp, 1);
  while (!text.empty() && (text.back() == L':' || text.back() == L' ')) text.pop_back();
  return text;
}

void TControl::PaintLinkFocus(HDC dc) {
  if (!IsLink || ::GetFocus() != Handle()) return;
  RECT client{};
  ::GetClientRect(Handle(), &client);
  // DrawFocusRect inverts: black on the light face, light on a dark one.
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::SetBkColor(dc, RGB(255, 255, 255));
  ::DrawFocusRect(dc, &client);
}

void TControl::Click() {
  if (OnClick) OnClick(*this);
}

LRESULT TControl::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  // Reflected notifications nobody handled end here, not in the system control.
  if (message >= CN_BASE && message < CN_BASE + 0x400) return 0;
  if (message == WM_GETOBJECT)
    if (const LRESULT object = AnswerGetObject(Handle(), wparam, lparam)) return object;
  if (IsLink) {
    switch (message) {
      case WM_GETDLGCODE: {
        // Enter opens the link instead of pressing the window's default button.
        LRESULT code = TWindow::WndProc(message, wparam, lparam);
        const auto* msg = reinterpret_cast<const MSG*>(lparam);
        if (msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_SPACE))
          code |= DLGC_WANTMESSAGE;
        return code;
      }
      case WM_KEYDOWN:
        if (wparam == VK_RETURN || wparam == VK_SPACE) {
          Click();
          return 0;
        }
        break;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        ::InvalidateRect(Handle(), nullptr, TRUE);
        break;
      case WM_PAINT: {
        const LRESULT result = TWindow::WndProc(message, wparam, lparam);
        WindowDc dc(Handle());
        PaintLinkFocus(dc.get());
        return result;
      }
      default:
        break;
    }
  }
  if (message == WM_SETCURSOR && HandCursor) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
  }
  return TWindow::WndProc(message, wparam, lparam);
}

void TButton::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.class_name = L"TButton";
  AccessibleRole = ROLE_SYSTEM_PUSHBUTTON;
  params.base_class = L"BUTTON";
  params.style |= WS_TABSTOP | BS_PUSHBUTTON;
}

LRESULT TButton::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == CN_BASE + WM_NOTIFY) {
    const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(lparam);
    if (draw->hdr.code == NM_CUSTOMDRAW) return Theme().CustomDrawPushButton(Handle(), *draw);
    return CDRF_DODEFAULT;
  }
  if (message == CN_BASE + WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    Click();
    return 0;
  }
  return TControl::WndProc(message, wparam, lparam);
}

void TCheckBox::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.class_name = L"TCheckBox";
  ClassicLookInDark = true;
  AccessibleRole = ROLE_SYSTEM_CHECKBUTTON;
  params.base_class = L"BUTTON";
  params.style |= WS_TABSTOP | BS_CHECKBOX;
}

void TCheckBox::CreateWnd() {
  TControl::CreateWnd();
  ::SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::DescribeForAccessibility(TAccessibleAnswer& answer) {
  answer.states_on |= STATE_SYSTEM_FOCUSABLE | (checked_ ? STATE_SYSTEM_CHECKED : 0);
  answer.states_off |= checked_ ? 0 : STATE_SYSTEM_CHECKED;
  TControl::DescribeForAccessibility(answer);
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (HandleAllocated()) ::SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
  AccessibleChanged(EVENT_OBJECT_STATECHANGE);
  Click();
}

LRESULT TCheckBox::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  // A plain (not automatic) check box: the state is ours, and it changes
  // through SetChecked, which also fires the click.
  if (message == CN_BASE + WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    SetChecked(!checked_);
    return 0;
  }
  return TControl::WndProc(message, wparam, lparam);
}

void TLabel::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.class_name = L"TLabel";
  AccessibleRole = ROLE_SYSTEM_STATICTEXT;
  params.base_class = L"STATIC";
  params.style |= SS_NOTIFY;
  switch (Alignment) {
    case TAlignment::Left:
      params.style |= WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
      break;
    case TAlignment::Center:
      params.style |= SS_CENTER;
      break;
    case TAlignment::Right:
      params.style |= SS_RIGHT;
      break;
  }
  if (RightToLeftReading) params.ex_style |= WS_EX_RTLREADING;
}

void TLabel::CreateWnd() {
  TControl::CreateWnd();
  if (AutoSize) FitToText();
}

void TLabel::ScaleChanged() {
  // The control lets go of its own font before that font is deleted.
  const UniqueFont old = std::move(font_);
  TControl::ScaleChanged();
  if (HandleAllocated() && AutoSize) FitToText();
}

void TLabel::FitToText() {
  // Text widths do not grow in step with the DPI: a label sized for 96 dpi
  // may need more room at 144.
  const HWND window = Handle();
  WindowDc dc(window);
  SelectObjectScope font(dc.get(), Font());
  std::wstring text = Caption();
  RECT extent{0, 0, 0, 0};
  ::DrawTextW(dc.get(), text.data(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
  RECT bounds{};
  ::GetWindowRect(window, &bounds);
  ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
  const int width = bounds.right - bounds.left;
  if (extent.right <= width) return;
  const int left = Alignment == TAlignment::Right ? bounds.right - extent.right : bounds.left;
  ::SetWindowPos(window, nullptr, left, bounds.top, extent.right, bounds.bottom - bounds.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLabel::SetOwnFont(const std::wstring& face, int height96, COLORREF color, bool bold) {
  font_face_ = face;
  font_height96_ = height96;
  font_color_ = color;
  font_bold_ = bold;
  ApplyFont();
}

void TLabel::SetUnderline(bool underline) {
  if (underline == underline_) return;
  underline_ = underline;
  ApplyFont();
}

void TLabel::ApplyFont() {
  // The control lets go of the old font before it is deleted.
  const UniqueFont old = std::move(font_);
  if (HandleAllocated()) ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
}

HFONT TLabel::Font() {
  if (font_face_.empty() && !underline_) return TControl::Font();
  if (!font_) {
    LOGFONTW log{};
    if (font_face_.empty()) {
      ::GetObjectW(TControl::Font(), sizeof(log), &log);
    } else {
      log.lfHeight = -Scale(font_height96_);
      log.lfWeight = font_bold_ ? FW_BOLD : FW_NORMAL;
      log.lfCharSet = DEFAULT_CHARSET;
      log.lfQuality = CLEARTYPE_QUALITY;
      font_face_.copy(log.lfFaceName, LF_FACESIZE - 1);
    }
    log.lfUnderline = underline_ ? TRUE : FALSE;
    font_.reset(::CreateFontIndirectW(&log));
  }
  return font_.get();
}

LRESULT TLabel::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case CN_BASE + WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wparam);
      TTheme& theme = Theme();
      const bool themed = theme.ControlColors(WM_CTLCOLORSTATIC, dc) != nullptr;
      // A label of its own colour keeps it in the light theme; the dark and
      // high-contrast themes give links their link colour and other texts
      // their text colour.
      if (theme.Kind() != core::ThemeKind::Light)
        ::SetTextColor(dc, IsLink ? theme.Colors().link : theme.Colors().text);
      else if (font_color_ != CLR_INVALID)
        ::SetTextColor(dc, font_color_);
      ::SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(themed ? theme.FaceBrush() : ::GetSysColorBrush(COLOR_BTNFACE));
    }
    case CN_BASE + WM_COMMAND:
      if (HIWORD(wparam) == STN_CLICKED) Click();
      return 0;
    case WM_MOUSEMOVE:
      if (!mouse_inside_) {
        mouse_inside_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
        ::TrackMouseEvent(&track);
        if (OnMouseEnter) OnMouseEnter(*this);
      }
      break;
    case WM_MOUSELEAVE:
      mouse_inside_ = false;
      if (OnMouseLeave) OnMouseLeave(*this);
      break;
    default:
      break;
  }
  return TControl::WndProc(message, wparam, lparam);
}

}  // namespace lumitrax
