#include "settings/check_group_box.h"

#include <string>

#include "core/check_group.h"
#include "framework/handles.h"
#include "framework/std_controls.h"
#include "framework/theme.h"

namespace lumitrax {

TCheckGroupBox::TCheckGroupBox(TWindow& parent) : TControl(parent), check_box_(*this) {
  check_box_.SetChecked(true);
  check_box_.OnClick = [this](TComponent&) { CheckBoxClick(); };
}

void TCheckGroupBox::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.class_name = L"TCheckGroupBox";
  params.base_class = L"BUTTON";
  // Clipping its children keeps the group's own caption from being drawn under
  // the check box that carries it.
  params.style |= BS_GROUPBOX | WS_CLIPCHILDREN;
  params.ex_style |= WS_EX_CONTROLPARENT;
  // The caption is the check box's: the frame itself carries no text, so its
  // line runs on behind the check box at every DPI.
  params.caption.clear();
}

void TCheckGroupBox::CreateWnd() {
  TControl::CreateWnd();
  check_box_.SetCaption(Caption());
  LayoutCheckBox();
  check_box_.Handle();
  UpdateControls();
}

void TCheckGroupBox::SetCheckBoxChecked(bool checked) {
  check_box_.SetChecked(checked);
  UpdateControls();
}

void TCheckGroupBox::SetCheckBoxVisible(bool visible) {
  check_box_.SetVisible(visible);
  UpdateControls();
}

void TCheckGroupBox::SetAutoDisableControls(bool auto_disable) {
  auto_disable_ = auto_disable;
  UpdateControls();
}

void TCheckGroupBox::SetEnabled(bool enabled) {
  TControl::SetEnabled(enabled);
  UpdateControls();
}

void TCheckGroupBox::DescribeForAccessibility(TAccessibleAnswer& answer) {
  std::wstring name = Caption();
  std::erase(name, L'&');
  answer.name = name;
  TControl::DescribeForAccessibility(answer);
}

void TCheckGroupBox::CheckBoxClick() {
  UpdateControls();
  if (OnCheckBoxClick) OnCheckBoxClick(*this);
}

void TCheckGroupBox::EnableChild(HWND child, bool enabled) {
  if (child == check_box_.Handle()) return;
  if (auto* control = dynamic_cast<TControl*>(TWindow::FromHandle(child)))
    control->SetEnabled(enabled);
  else
    ::EnableWindow(child, enabled);
}

void TCheckGroupBox::UpdateControls() {
  if (!auto_disable_ || !HandleAllocated()) return;
  const bool enabled = core::CheckGroupChildEnabled(Enabled(), CheckBoxVisible(), CheckBoxChecked());
  for (HWND child = ::GetWindow(Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    EnableChild(child, enabled);
  ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TCheckGroupBox::LayoutCheckBox() {
  WindowDc screen(nullptr);
  SelectObjectScope font(screen.get(), Font() ? Font() : ::GetStockObject(DEFAULT_GUI_FONT));
  std::wstring text = Caption();
  RECT extent{0, 0, 0, 0};
  ::DrawTextW(screen.get(), text.data(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
  // Measured at the group's DPI; the bounds are kept in 96-dpi pixels.
  const int dpi = static_cast<int>(Dpi());
  const core::CheckBoxSize size =
      core::CaptionCheckBoxSize(::MulDiv(extent.right, 96, dpi), ::MulDiv(extent.bottom, 96, dpi));
  const RECT& now = check_box_.Bounds();
  if (now.left != 8 || now.top != 0 || now.right - now.left != size.width || now.bottom - now.top != size.height)
    check_box_.SetBounds(8, 0, size.width, size.height);
}

LRESULT TCheckGroupBox::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      LayoutCheckBox();
      if (Theme().DrawsOwnFrames()) {
        // The frame in the theme's colours; the caption is the check box's.
        PaintDc paint(Handle());
        PaintThemedGroup(paint.get(), Handle(), Font(), L"");
        return 0;
      }
      break;
    case WM_SETTEXT: {
      const LRESULT result = TControl::WndProc(message, wparam, lparam);
      check_box_.SetCaption(lparam ? reinterpret_cast<const wchar_t*>(lparam) : L"");
      LayoutCheckBox();
      return result;
    }
    case WM_ERASEBKGND: {
      // A group box leaves its inside to the parent; the form clips its
      // children, so the group fills it itself, with the brush the parent gives
      // its static controls.
      const HWND parent = ::GetParent(Handle());
      auto brush = reinterpret_cast<HBRUSH>(
          ::SendMessageW(parent, WM_CTLCOLORSTATIC, wparam, reinterpret_cast<LPARAM>(Handle())));
      if (!brush) brush = ::GetSysColorBrush(COLOR_BTNFACE);
      RECT client{};
      ::GetClientRect(Handle(), &client);
      ::FillRect(reinterpret_cast<HDC>(wparam), &client, brush);
      return 1;
    }
    case WM_PARENTNOTIFY:
      // A child created after the check box was cleared starts disabled too.
      if (LOWORD(wparam) == WM_CREATE && auto_disable_)
        EnableChild(reinterpret_cast<HWND>(lparam),
                    core::CheckGroupChildEnabled(Enabled(), CheckBoxVisible(), CheckBoxChecked()));
      break;
    default:
      break;
  }
  return TControl::WndProc(message, wparam, lparam);
}

}  // namespace lumitrax
