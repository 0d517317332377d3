#include "settings/up_down_edit.h"

#include <oleacc.h>

#include <algorithm>

#include "core/spin_text.h"
#include "framework/errors.h"
#include "framework/text.h"

namespace lumitrax {

TUpDownEdit::TUpDownEdit(TWindow& parent) : TControl(parent) {}

void TUpDownEdit::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.class_name = L"TUpDownEdit";
  AccessibleRole = ROLE_SYSTEM_TEXT;
  params.base_class = L"EDIT";
  params.style |= WS_TABSTOP | ES_AUTOHSCROLL | WS_CLIPCHILDREN;
  params.ex_style |= WS_EX_CLIENTEDGE;
}

void TUpDownEdit::CreateWnd() {
  TControl::CreateWnd();
  INITCOMMONCONTROLSEX init{sizeof init, ICC_UPDOWN_CLASS};
  ::InitCommonControlsEx(&init);
  // The arrows sit inside the edit's right edge; their notifications come to
  // the edit.
  up_down_ = ::CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS,
                               0, 0, 0, 0, Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (!up_down_) throw AppError(std::string("Cannot create the up-down control"));
  ::SendMessageW(up_down_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
  ::SendMessageW(up_down_, UDM_SETBASE, is_hex_ ? 16 : 10, 0);
  ApplyRange();
  UDACCEL accel{0, static_cast<UINT>(increment_)};
  ::SendMessageW(up_down_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  PlaceUpDown();
  ::EnableWindow(up_down_, ::IsWindowEnabled(Handle()));
  ::SendMessageW(up_down_, UDM_SETPOS32, 0, position_);
}

void TUpDownEdit::PlaceUpDown() {
  if (!up_down_) return;
  RECT client{};
  ::GetClientRect(Handle(), &client);
  const int width = std::min<int>(Scale(17), client.right);
  ::SetWindowPos(up_down_, nullptr, client.right - width, 0, width, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, width));
}

void TUpDownEdit::ApplyRange() {
  if (up_down_) ::SendMessageW(up_down_, UDM_SETRANGE32, min_, max_);
}

void TUpDownEdit::SetMin(int16_t min) {
  min_ = min;
  ApplyRange();
}

void TUpDownEdit::SetMax(int16_t max) {
  max_ = max;
  ApplyRange();
}

int16_t TUpDownEdit::Position() {
  // The up-down control takes the number from the text.
  if (up_down_) return static_cast<int16_t>(::SendMessageW(up_down_, UDM_GETPOS32, 0, 0));
  return position_;
}

void TUpDownEdit::SetPosition(int16_t position) {
  position_ = static_cast<int16_t>(std::clamp<int>(position, min_, std::max(min_, max_)));
  if (up_down_) ::SendMessageW(up_down_, UDM_SETPOS32, 0, position_);
}

void TUpDownEdit::SetIncrement(int increment) {
  increment_ = increment;
  if (!up_down_) return;
  UDACCEL accel{0, static_cast<UINT>(increment_)};
  ::SendMessageW(up_down_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDownEdit::SetIsHex(bool is_hex) {
  is_hex_ = is_hex;
  if (up_down_) ::SendMessageW(up_down_, UDM_SETBASE, is_hex_ ? 16 : 10, 0);
}

std::wstring TUpDownEdit::Text() {
  if (!HandleAllocated()) return Caption();
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(Handle())) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()))));
  return text;
}

void TUpDownEdit::SetText(const std::wstring& text) { SetCaption(text); }

void TUpDownEdit::TextChanged() {
  if (OnChange) OnChange(*this);
  if (is_hex_ || !HandleAllocated()) return;
  const std::wstring text = Text();
  const auto fixed = core::ClampSpinText(Narrow(text), Min(), Max(), Position());
  if (!fixed || Widen(*fixed) == text) return;
  SetText(Widen(*fixed));  // fires OnChange again
  const auto end = static_cast<LPARAM>(fixed->size());
  ::SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(end), end);
}

void TUpDownEdit::ArrowClicked(int delta) {
  SetPosition(static_cast<int16_t>(core::StepSpinPosition(Position(), delta, Min(), Max())));
  if (OnUpDownClick) OnUpDownClick(*this, delta > 0 ? TUDBtnType::btNext : TUDBtnType::btPrev);
}

LRESULT TUpDownEdit::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case CN_BASE + WM_COMMAND:
      if (HIWORD(wparam) == EN_CHANGE) TextChanged();
      return 0;
    case WM_CHAR:
      if (!core::AcceptSpinChar(static_cast<char32_t>(wparam), is_hex_)) return 0;
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->hwndFrom == up_down_ && header->code == UDN_DELTAPOS) {
        // The step is ours: within the range, without wrapping, then the event.
        ArrowClicked(reinterpret_cast<const NMUPDOWN*>(lparam)->iDelta);
        return TRUE;
      }
      break;
    }
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lparam) == up_down_) return 0;
      break;
    case WM_SIZE: {
      const LRESULT result = TControl::WndProc(message, wparam, lparam);
      PlaceUpDown();
      return result;
    }
    case WM_ENABLE:
      // The arrows are greyed and refuse clicks with the edit.
      if (up_down_) ::EnableWindow(up_down_, static_cast<BOOL>(wparam));
      break;
    case WM_NCDESTROY:
      up_down_ = nullptr;
      break;
    default:
      break;
  }
  return TControl::WndProc(message, wparam, lparam);
}

void TUpDownEdit::DescribeForAccessibility(TAccessibleAnswer& answer) {
  // Its label's name, its number as the value.
  answer.value = Text();
  answer.states_on |= STATE_SYSTEM_FOCUSABLE;
  answer.name = LabelBefore();
  TControl::DescribeForAccessibility(answer);
}

}  // namespace lumitrax
