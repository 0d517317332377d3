#include "web/form_about.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "core/placement.h"
#include "framework/application.h"
#include "framework/handles.h"
#include "framework/language.h"
#include "framework/os_functions.h"
#include "framework/scope_exit.h"
#include "framework/version_info.h"
#include "framework/work_area.h"

namespace lumitrax {
namespace {

TfrmAbout* g_about = nullptr;

constexpr int kClientWidth = 332;
// The design's 153 and a row for the line about the usage reports.
constexpr int kClientHeight = 171;

// LoadIconWithScaleDown of the common controls 6 (Windows Vista; MinGW's
// import library lacks it), resolved once. Null where it is missing.
using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
LoadIconWithScaleDownFunction LoadIconWithScaleDownOnce() {
  static const auto function = [] {
    const HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll");
    return comctl ? reinterpret_cast<LoadIconWithScaleDownFunction>(
                        reinterpret_cast<void*>(::GetProcAddress(comctl, "LoadIconWithScaleDown")))
                  : nullptr;
  }();
  return function;
}

// The group icon at exactly size x size pixels, made for the caller alone:
// scaled down from the group's next larger image where the system can, else
// from the closest one. Never a shared load, which hands back the first image
// of the group the process loaded, whatever its size.
UniqueIcon LoadIconAtSize(const wchar_t* name, int size) {
  const HINSTANCE module = ::GetModuleHandleW(nullptr);
  UniqueIcon icon;
  if (const auto scale_down = LoadIconWithScaleDownOnce())
    if (SUCCEEDED(scale_down(module, name, size, size, icon.put())) && icon) return icon;
  icon.reset(static_cast<HICON>(::LoadImageW(module, name, IMAGE_ICON, size, size, 0)));
  return icon;
}

}  // namespace

TfrmAbout* OpenAboutDialog() noexcept { return g_about; }

TfrmAbout::TfrmAbout(const TAboutHost& host) : host_(host) {
  Name = L"frmAbout";
  SetFont(UiFontFace(), 12);
  struct Row {
    TControl& control;
    int left, top, width, height;
    std::wstring caption;
    intptr_t tag;
  };
  const Row rows[] = {
      {btnOK, 196, 116, 75, 25, Tr(T::AboutOK), 0},
      {imgIcon, 12, 12, 128, 128, L"", 0},
      {lbTitle, 144, 12, 180, 24, L"", 0},
      {lbVersion, 144, 40, 180, 16, L"", 0},
      {lbInfo, 144, 64, 180, 16, Tr(T::AboutSlogan), 1992},
      {lbCopyright, 144, 84, 180, 16, Tr(T::AboutCopyright), 1977},
      {lbReports, 12, 149, 308, 16, Tr(T::AboutReports), 0},
  };
  for (const Row& row : rows) {
    row.control.SetBounds(row.left, row.top, row.width, row.height);
    row.control.SetCaption(row.caption);
    row.control.Tag = row.tag;
  }
  for (TLabel* label : {&lbTitle, &lbVersion, &lbInfo, &lbCopyright, &lbReports}) {
    label->Alignment = TAlignment::Center;
    label->WordWrap = false;
  }
  lbTitle.SetOwnFont(UiFontFace(), 21, ::GetSysColor(COLOR_WINDOWTEXT), /*bold=*/true);
  imgIcon.HandCursor = true;
  lbInfo.HandCursor = true;
  lbCopyright.HandCursor = true;
  // The three links take the focus and open with Enter or Space; the icon
  // is named after the site it opens.
  for (TControl* link : std::initializer_list<TControl*>{&imgIcon, &lbInfo, &lbCopyright}) link->IsLink = true;
  imgIcon.Hint = Tr(T::LinkWebsite);
  btnOK.OnClick = [this](TComponent&) { ModalResult = mrOk; };
  tmrRunOnce.OnTimer = [this](TComponent&) { tmrRunOnceTimer(); };
  FormCreate();
}

void TfrmAbout::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.class_name = L"TfrmAbout";
  params.caption = Tr(T::AboutCaption);
  params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
  params.ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  // The main window owns the dialog, which stays above it.
  params.parent = host_.Owner.Handle();
  // Made on the monitor it will show on, at that monitor's DPI: moving it
  // there afterwards would have Windows scale the frame a second time.
  const HMONITOR monitor = TargetMonitor();
  const UINT dpi = os::DpiForMonitor(monitor);
  SetDpi(dpi);
  RECT frame{0, 0, ScaleForDpi(kClientWidth, dpi), ScaleForDpi(kClientHeight, dpi)};
  os::AdjustWindowRectExForDpi(&frame, params.style, false, params.ex_style, dpi);
  const core::Rect work = WorkAreaOf(monitor);
  params.x = work.left;
  params.y = work.top;
  params.width = frame.right - frame.left;
  params.height = frame.bottom - frame.top;
}

HMONITOR TfrmAbout::TargetMonitor() {
  const HWND main_window = host_.Owner.Handle();
  if (::IsWindowVisible(main_window)) return ::MonitorFromWindow(main_window, MONITOR_DEFAULTTONEAREST);
  const POINT design{867, 221};
  return ::MonitorFromPoint(design, MONITOR_DEFAULTTONEAREST);
}

void TfrmAbout::FormCreate() {
  lbTitle.SetCaption(Application().Title());
  lbVersion.SetCaption(GetFileVersionString(GetModulePath()));
  auto link = [this](TComponent& sender) {
    if (host_.OnLinkClick) host_.OnLinkClick(sender);
  };
  imgIcon.OnClick = link;
  lbCopyright.OnClick = link;
  lbInfo.OnClick = link;
  // Tab order: the button first.
  for (TControl* control : std::initializer_list<TControl*>{&btnOK, &imgIcon, &lbTitle, &lbVersion, &lbInfo,
                                                             &lbCopyright, &lbReports})
    control->Handle();
  ::SendMessageW(btnOK.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  LoadIconPicture();
  FitTextsToTheirPlaces();
  PlaceOverMainWindow();
}

void TfrmAbout::LoadIconPicture() {
  // The program's icon at the picture's size: sharp at every DPI. A shared
  // load would be the application object's icon at the standard icon size,
  // stretched to 128 and more.
  UniqueIcon icon = LoadIconAtSize(L"A", imgIcon.Scale(128));
  imgIcon.SetIcon(icon.get());
  FIcon = std::move(icon);  // the old picture goes once the control shows the new one
  if (imgIcon.HandleAllocated()) ::InvalidateRect(imgIcon.Handle(), nullptr, TRUE);
}

void TfrmAbout::LayOut(int left, int top) {
  // The design's client area at the new scale; the controls are already
  // back at their design places (the form's DPI change did that).
  const UINT dpi = Dpi();
  RECT frame{0, 0, ScaleForDpi(kClientWidth, dpi), ScaleForDpi(kClientHeight, dpi)};
  os::AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(::GetWindowLongPtrW(Handle(), GWL_STYLE)), false,
                               static_cast<DWORD>(::GetWindowLongPtrW(Handle(), GWL_EXSTYLE)), dpi);
  ::SetWindowPos(Handle(), nullptr, left, top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  LoadIconPicture();
  FitTextsToTheirPlaces();
}

void TfrmAbout::DpiChanged(UINT dpi, const RECT& suggested) {
  // Windows' suggestion scales the frame as it is, text room included: the
  // dialog takes only its corner, and the rest from the design again.
  TForm::DpiChanged(dpi, suggested);
  LayOut(suggested.left, suggested.top);
  ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TfrmAbout::FitTextsToTheirPlaces() {
  // Text widths and line heights do not follow the DPI in step, and fonts
  // differ between systems: a label sized for 96 dpi may be too narrow or too
  // low for its text, and its centred text would wrap out of sight. The labels
  // form one centred column right of the icon: the column widens to the right
  // and the dialog with it, a label too low grows and pushes the ones below
  // it down, and the button stays centred under the column.
  TLabel* const column[] = {&lbTitle, &lbVersion, &lbInfo, &lbCopyright};
  auto place = [](HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  int width = 0;
  SIZE texts[std::size(column)]{};
  for (size_t i = 0; i < std::size(column); ++i) {
    TLabel& label = *column[i];
    const WindowDc dc(label.Handle());
    const SelectObjectScope font(dc.get(), label.Font());
    std::wstring text = label.Caption();
    RECT extent{0, 0, 0, 0};
    ::DrawTextW(dc.get(), text.data(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    texts[i] = {extent.right, extent.bottom};
    const RECT rect = place(label.Handle());
    width = std::max({width, static_cast<int>(rect.right - rect.left), static_cast<int>(extent.right)});
  }
  int wider = 0;
  int lower = 0;
  for (size_t i = 0; i < std::size(column); ++i) {
    const RECT rect = place(column[i]->Handle());
    wider = std::max(wider, width - static_cast<int>(rect.right - rect.left));
    const int height = std::max(static_cast<int>(rect.bottom - rect.top), static_cast<int>(texts[i].cy));
    ::SetWindowPos(column[i]->Handle(), nullptr, rect.left, rect.top + lower, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    lower += height - (rect.bottom - rect.top);
  }
  // The line about the usage reports spans the dialog under the icon and the
  // button: it moves down with them and grows as its text needs.
  {
    const WindowDc dc(lbReports.Handle());
    const SelectObjectScope font(dc.get(), lbReports.Font());
    std::wstring text = lbReports.Caption();
    RECT extent{0, 0, 0, 0};
    ::DrawTextW(dc.get(), text.data(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    const RECT rect = place(lbReports.Handle());
    const int row = std::max(static_cast<int>(rect.right - rect.left) + wider, static_cast<int>(extent.right));
    const int height = std::max(static_cast<int>(rect.bottom - rect.top), static_cast<int>(extent.bottom));
    wider = std::max(wider, row - static_cast<int>(rect.right - rect.left));
    ::SetWindowPos(lbReports.Handle(), nullptr, rect.left, rect.top + lower, row, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    lower += height - (rect.bottom - rect.top);
  }
  if (wider == 0 && lower == 0) return;
  const RECT button = place(btnOK.Handle());
  ::SetWindowPos(btnOK.Handle(), nullptr, button.left + wider / 2, button.top + lower, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT frame{};
  ::GetWindowRect(Handle(), &frame);
  ::SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left + wider, frame.bottom - frame.top + lower,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmAbout::PlaceOverMainWindow() {
  const HWND window = Handle();
  RECT own{};
  ::GetWindowRect(window, &own);
  const HWND main_window = host_.Owner.Handle();
  core::Rect placed;
  if (::IsWindowVisible(main_window)) {
    // Centred over the settings window, kept on the work area nearest to it.
    RECT main_rect{};
    ::GetWindowRect(main_window, &main_rect);
    placed = core::KeepInWorkArea(core::CenterInWorkArea(ToRect(own), ToRect(main_rect)),
                                  WorkAreaNear(ToRect(main_rect)));
  } else {
    // Centred in the work area nearest to the dialog's design position.
    placed = core::CenterInWorkArea(ToRect(own), WorkAreaOf(TargetMonitor()));
  }
  ::SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmAbout::tmrRunOnceTimer() {
  tmrRunOnce.SetEnabled(false);
  if (host_.OnShown) host_.OnShown();
}

LRESULT TfrmAbout::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      // The session may end: the dialog lets go of the main window and closes.
      ::SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, 0);
      Close();
      return 1;
    case WM_COMMAND:
      // Enter and Escape both press OK.
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        ModalResult = mrOk;
        return 0;
      }
      break;
    case DM_GETDEFID:
      return MAKELRESULT(::GetDlgCtrlID(btnOK.Handle()), DC_HASDEFID);
    default:
      break;
  }
  return TForm::WndProc(message, wparam, lparam);
}

int ShowAbout(const TAboutHost& host) {
  if (g_about) {
    g_about->BringToFront();
    return 0;
  }
  TfrmAbout about(host);
  g_about = &about;
  const ScopeExit forget([] { g_about = nullptr; });
  return about.ShowModal();
}

}  // namespace lumitrax
