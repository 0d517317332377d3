#include "settings/form_more_settings.h"

#include <algorithm>

#include "core/placement.h"
#include "framework/application.h"
#include "framework/os_functions.h"
#include "framework/work_area.h"

namespace lumitrax {
namespace {

constexpr int kMargin = 12;  // around the rows, in 96-dpi pixels

}  // namespace

TfrmMoreSettings::TfrmMoreSettings() {
  Name = L"frmMoreSettings";
  SetFont(L"Arial", 12);
  KeyPreview = true;
  OnKeyDown = [this](TComponent&, WORD& key, TShiftState) {
    if (key != VK_ESCAPE || !Visible()) return;
    key = 0;
    Close();
  };
  CreateControls();
}

std::vector<TControlDescription> TfrmMoreSettings::FormDescription() {
  // Later options go here, a row each; the window grows to hold them.
  return {
      {lbOsdPlacement, L"lbOsdPlacement", 12, 14, 104, 15, L"&Show the display:", 0, nullptr},
      {cmbOsdPlacement, L"cmbOsdPlacement", 126, 10, 242, 23, L"", 0, nullptr},
      {chbOsdOutOfTheWay, L"chbOsdOutOfTheWay", 12, 44, 356, 17,
       L"Keep it &out of full-screen programs and quiet time", 0, nullptr},
      {chbBeepTones, L"chbBeepTones", 12, 68, 356, 17, L"Beep with a &rising tone for on, a falling tone for off", 0,
       nullptr},
      {chbUsageReports, L"chbUsageReports", 12, 92, 356, 17, L"Send anonymous &usage reports", 0, nullptr},
      {btnClose, L"btnClose", 293, 122, 75, 25, L"Close", 0, nullptr},
  };
}

SIZE TfrmMoreSettings::DesignClientSize() {
  LONG right = 0, bottom = 0;
  for (const TControlDescription& row : FormDescription()) {
    right = std::max<LONG>(right, row.left + row.width);
    bottom = std::max<LONG>(bottom, row.top + row.height);
  }
  return {right + kMargin, bottom + kMargin};
}

void TfrmMoreSettings::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.class_name = L"TfrmMoreSettings";
  params.caption = L"More settings";
  params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  params.ex_style = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  const UINT dpi = WindowDpi(nullptr);
  const SIZE client = DesignClientSize();
  RECT frame{0, 0, ScaleForDpi(client.cx, dpi), ScaleForDpi(client.cy, dpi)};
  os::AdjustWindowRectExForDpi(&frame, params.style, false, params.ex_style, dpi);
  params.x = params.y = 0;
  params.width = frame.right - frame.left;
  params.height = frame.bottom - frame.top;
}

void TfrmMoreSettings::CreateControls() {
  const std::vector<TControlDescription> description = FormDescription();
  for (const TControlDescription& row : description) {
    row.control.Name = row.name;
    row.control.SetBounds(row.left, row.top, row.width, row.height);
    row.control.SetCaption(row.caption);
    row.control.Tag = row.tag;
    if (row.hint) row.control.Hint = row.hint;
  }
  // The label widens to its text where a scale or a font makes it wider than designed.
  lbOsdPlacement.AutoSize = true;
  lbOsdPlacement.WordWrap = false;
  cmbOsdPlacement.SetItems({L"Where I put it", L"On the monitor with the mouse pointer",
                            L"On the monitor with the active window", L"On every monitor"});
  // Defaults: today's behaviour, and out of the way.
  cmbOsdPlacement.SetItemIndex(0);
  chbOsdOutOfTheWay.SetChecked(true);
  chbBeepTones.SetChecked(false);
  chbUsageReports.SetChecked(true);

  // The windows, in the order of the description: it is the tab order.
  for (const TControlDescription& row : description) row.control.Handle();
  FitToDescription();

  // Bound after the defaults, so that they count as no change.
  auto changed = [this](TComponent& sender) {
    if (OnSettingChange) OnSettingChange(sender);
  };
  cmbOsdPlacement.OnChange = changed;
  chbOsdOutOfTheWay.OnClick = changed;
  chbBeepTones.OnClick = changed;
  chbUsageReports.OnClick = changed;
  btnClose.OnClick = [this](TComponent&) { Close(); };
}

void TfrmMoreSettings::FitToDescription() {
  const HWND window = Handle();
  const UINT dpi = Dpi();
  const SIZE design = DesignClientSize();
  RECT frame{}, client{};
  ::GetWindowRect(window, &frame);
  ::GetClientRect(window, &client);
  const int width = ScaleForDpi(design.cx, dpi) + (frame.right - frame.left) - client.right;
  const int height = ScaleForDpi(design.cy, dpi) + (frame.bottom - frame.top) - client.bottom;
  ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMoreSettings::DpiChanged(UINT dpi, const RECT& suggested) {
  TForm::DpiChanged(dpi, suggested);
  FitToDescription();
}

void TfrmMoreSettings::Open(HWND beside) {
  const HWND window = Handle();
  if (!Visible()) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    core::Rect area;
    if (beside && ::IsWindowVisible(beside)) {
      RECT owner{};
      ::GetWindowRect(beside, &owner);
      area = ToRect(owner);
    } else {
      POINT pointer{};
      ::GetCursorPos(&pointer);
      area = WorkAreaNear({pointer.x, pointer.y, pointer.x + 1, pointer.y + 1});
    }
    core::Rect placed = core::CenterInWorkArea(ToRect(frame), area);
    placed = core::KeepInWorkArea(placed, WorkAreaNear(placed));
    ::SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Show();
    ::SetFocus(cmbOsdPlacement.Handle());
  }
  BringToFront();
}

}  // namespace lumitrax
