// The main window's side of the tray icon: what the tray controls say, drawn by
// the core into the three images of imgsIcons, which the tray icon and the
// settings window's preview follow.
#include <windows.h>

#include "app/form_main.h"
#include "indicator/icon_bitmaps.h"

namespace lumitrax {

namespace {

// A colour as the drawing takes it: system colours turned into their RGB value.
core::Color DrawingColor(TColor color) {
  return core::IsSystemColor(color) ? ::GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

}  // namespace

core::TrayIconSettings TfrmMain::CurrentTrayIconSettings() const {
  core::TrayIconSettings settings;
  settings.LedLocks = {cmbLed1.ItemIndex(), cmbLed2.ItemIndex(), cmbLed3.ItemIndex()};
  settings.LedColors = {DrawingColor(cmbColor1.SelectedColor()), DrawingColor(cmbColor2.SelectedColor()),
                        DrawingColor(cmbColor3.SelectedColor())};
  settings.GridColor = DrawingColor(cmbColorGrid.SelectedColor());
  settings.IconMarks = chbIconMarks.Checked();
  return settings;
}

void TfrmMain::UpdateTransparentColor() {
  FTransparentColor = core::TransparentColorFor(CurrentTrayIconSettings());
}

void TfrmMain::TrayIconSettingsChange(TComponent& /*sender*/) {
  if (FStartupPending) return;
  UpdateTransparentColor();
  ComposeTrayIcons();
}

COLORREF TfrmMain::GetTrayAreaColor(COLORREF default_color) {
  const HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
  const HWND area = taskbar ? ::FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
  RECT rect{};
  if (!area || !::GetWindowRect(area, &rect)) return default_color;
  const core::Rect desktop{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                           ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                           ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const auto point =
      core::TrayAreaSamplePoint(core::Rect{rect.left, rect.top, rect.right, rect.bottom}, desktop);
  if (!point) return default_color;
  const HWND desktop_window = ::GetDesktopWindow();
  const HDC dc = ::GetWindowDC(desktop_window);
  const COLORREF color = ::GetPixel(dc, point->x, point->y);
  ::ReleaseDC(desktop_window, dc);
  // A pixel that cannot be read leaves the preview on the default colour.
  return color == CLR_INVALID ? default_color : color;
}

void TfrmMain::tmrAnimationTimer() {
  pnTrayIcon.SetColor(GetTrayAreaColor(::GetSysColor(COLOR_BTNFACE)));
  imgTrayIcon.SetImageIndex(imgTrayIcon.ImageIndex() != core::IconAllLit ? core::IconAllLit : core::IconNoneLit);
}

void TfrmMain::ComposeTrayIcons() {
  const auto images = core::ComposeTrayIcons(CurrentTrayIconSettings(), FLockStates, FTransparentColor);
  // One change notice for all three images: the tray icon reloads once.
  imgsIcons.BeginUpdate();
  struct EndUpdate {
    TImageList& list;
    ~EndUpdate() { list.EndUpdate(); }
  } end_update{imgsIcons};
  for (int index = 0; index < static_cast<int>(images.size()); ++index) {
    UniqueBitmap image = ImageBitmap(images[index].Image);
    UniqueBitmap mask = MaskBitmap(images[index].Mask);
    if (index < imgsIcons.Count())
      imgsIcons.Replace(index, image.get(), mask.get());
    else
      imgsIcons.Add(image.get(), mask.get());
  }
}

void TfrmMain::TrayIconClick() {
  // A click with Alt held opens the settings window.
  if (::GetKeyState(VK_MENU) < 0) miPopupSetup->Click();
}

}  // namespace lumitrax
