#include "settings/form_more_settings.h"

#include <algorithm>

#include "core/placement.h"
#include "framework/application.h"
#include "framework/language.h"
#include "settings/fit_layout.h"
#include "framework/os_functions.h"
#include "framework/work_area.h"

namespace lumitrax {
namespace {

constexpr int kMargin = 12;  // around the rows, in 96-dpi pixels

}  // namespace

TfrmMoreSettings::TfrmMoreSettings() {
  Name = L"frmMoreSettings";
  SetFont(UiFontFace(), 12);
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
      {lbOsdPlacement, L"lbOsdPlacement", 12, 14, 104, 15, Tr(T::PlacementLabel), 0, {}},
      {cmbOsdPlacement, L"cmbOsdPlacement", 126, 10, 242, 23, L"", 0, {}},
      {chbOsdOutOfTheWay, L"chbOsdOutOfTheWay", 12, 44, 356, 17, Tr(T::OutOfTheWay), 0, {}},
      {chbBeepTones, L"chbBeepTones", 12, 68, 356, 17, Tr(T::BeepTones), 0, {}},
      {chbUsageReports, L"chbUsageReports", 12, 92, 356, 17, Tr(T::UsageReports), 0, {}},
      {lbLanguage, L"lbLanguage", 12, 124, 104, 15, Tr(T::LanguageLabel), 0, {}},
      {cmbLanguage, L"cmbLanguage", 126, 120, 242, 23, L"", 0, {}},
      {btnClose, L"btnClose", 293, 154, 75, 25, Tr(T::CloseButton), 0, {}},
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
  params.caption = Tr(T::MoreCaption);
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
  TakeDescription(description);
  // The label widens to its text where a scale or a font makes it wider than designed.
  for (TLabel* label : {&lbOsdPlacement, &lbLanguage}) {
    label->AutoSize = true;
    label->WordWrap = false;
  }
  cmbOsdPlacement.SetItems(PlacementItems());
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
  cmbLanguage.OnChange = changed;
  btnClose.OnClick = [this](TComponent&) { Close(); };
}

std::vector<std::wstring> TfrmMoreSettings::PlacementItems() {
  return {Tr(T::PlacementStored), Tr(T::PlacementPointer), Tr(T::PlacementActive), Tr(T::PlacementEvery)};
}

void TfrmMoreSettings::ApplyTexts(const std::string& language) {
  const std::vector<TControlDescription> description = FormDescription();
  for (const TControlDescription& row : description) row.control.SetCaption(row.caption);
  if (HandleAllocated()) ::SetWindowTextW(Handle(), Tr(T::MoreCaption).c_str());
  const int placement = cmbOsdPlacement.ItemIndex();
  cmbOsdPlacement.SetItems(PlacementItems());
  cmbOsdPlacement.SetItemIndex(placement);
  // "Windows default", then each language in its own name.
  FLanguage = language;
  FLanguageCodes.clear();
  std::vector<std::wstring> names{Tr(T::LanguageDefault)};
  int chosen = language.empty() ? 0 : -1;
  for (const TLanguageInfo& info : AvailableLanguages()) {
    if (info.code == language) chosen = static_cast<int>(names.size());
    FLanguageCodes.push_back(info.code);
    names.push_back(info.name);
  }
  cmbLanguage.SetItems(names);
  cmbLanguage.SetItemIndex(chosen);
  FitToDescription();
}

std::string TfrmMoreSettings::ChosenLanguage() {
  const int index = cmbLanguage.ItemIndex();
  if (index == 0) return {};
  if (index < 0 || index > static_cast<int>(FLanguageCodes.size())) return FLanguage;
  return FLanguageCodes[static_cast<size_t>(index - 1)];
}

void TfrmMoreSettings::FitToDescription() {
  const HWND window = Handle();
  const UINT dpi = Dpi();
  const SIZE design = DesignClientSize();
  FWidthGrowth = FitDescriptionToTexts(*this, FormDescription());
  // The close button stays at the right margin of the window as it grew.
  {
    RECT button{};
    ::GetWindowRect(btnClose.Handle(), &button);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&button), 2);
    const int right = ScaleForDpi(design.cx - kMargin, dpi) + FWidthGrowth;
    ::SetWindowPos(btnClose.Handle(), nullptr, right - (button.right - button.left), button.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT frame{}, client{};
  ::GetWindowRect(window, &frame);
  ::GetClientRect(window, &client);
  const int width = ScaleForDpi(design.cx, dpi) + FWidthGrowth + (frame.right - frame.left) - client.right;
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
