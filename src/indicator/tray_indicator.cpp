#include "indicator/tray_indicator.h"

#include "core/color_list.h"
#include "framework/os_functions.h"
#include "framework/scope_exit.h"
#include "indicator/icon_bitmaps.h"

namespace lumitrax {
namespace {

// A colour as the drawing takes it: system colours turned into their RGB value.
core::Color DrawingColor(core::Color color) {
  return core::IsSystemColor(color) ? ::GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

core::TrayIconSettings Resolved(core::TrayIconSettings settings) {
  for (core::Color& color : settings.LedColors) color = DrawingColor(color);
  settings.GridColor = DrawingColor(settings.GridColor);
  return settings;
}

}  // namespace

TTrayIndicator::TTrayIndicator(TWindow& owner) : TrayIcon(owner) {
  imgsIcons.Name = L"imgsIcons";
  TrayIcon.SetImageList(&imgsIcons);
  tmrAnimation.OnTimer = [this](TComponent&) { tmrAnimationTimer(); };
  TrayIcon.OnTaskbarChange = [this](TComponent&) { TaskbarChanged(); };
}

UINT TTrayIndicator::TaskbarDpi() {
  // The notification area lies on the taskbar's monitor; its icons take that
  // monitor's scale.
  if (const HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr)) {
    return os::DpiForMonitor(::MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY));
  }
  return os::DpiForSystem();
}

int TTrayIndicator::TrayImageSize() {
  return core::NearestTrayIconSize(os::SystemMetricsForDpi(SM_CXSMICON, TaskbarDpi()));
}

void TTrayIndicator::TaskbarChanged() {
  FImageSize = 0;  // measured again at the next drawing
  if (FLastComposed) ComposeTrayIcons(FLastComposed->first, FLastComposed->second);
}

void TTrayIndicator::PlacePreview() {
  if (!FPreviewPanel || !FPreviewImage || !FPreviewPanel->HandleAllocated()) return;
  RECT client{};
  ::GetClientRect(FPreviewPanel->Handle(), &client);
  const int size = imgsIcons.Width();
  ::SetWindowPos(FPreviewImage->Handle(), nullptr, (client.right - size) / 2, (client.bottom - size) / 2, size, size,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TTrayIndicator::SetPreview(TPanel& panel, TIndexedImage& image) noexcept {
  FPreviewPanel = &panel;
  FPreviewImage = &image;
}

void TTrayIndicator::UpdateTransparentColor(const core::TrayIconSettings& settings) {
  FTransparentColor = core::TransparentColorFor(Resolved(settings));
}

COLORREF TTrayIndicator::GetTrayAreaColor(COLORREF default_color) {
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

void TTrayIndicator::tmrAnimationTimer() {
  if (!FPreviewPanel || !FPreviewImage) return;
  FPreviewPanel->SetColor(GetTrayAreaColor(::GetSysColor(COLOR_BTNFACE)));
  FPreviewImage->SetImageIndex(FPreviewImage->ImageIndex() != core::IconAllLit ? core::IconAllLit
                                                                                : core::IconNoneLit);
}

void TTrayIndicator::ComposeTrayIcons(const core::TrayIconSettings& settings, const core::LockStates& lock_states) {
  FLastComposed.emplace(settings, lock_states);
  // The size is measured once and again only when the taskbar changes: a
  // lock change draws at once, without asking the taskbar and its monitor.
  if (!FImageSize) FImageSize = TrayImageSize();
  const int size = FImageSize;
  const auto images = core::ComposeTrayIcons(Resolved(settings), lock_states, FTransparentColor, size);
  // One change notice for all three images: the tray icon reloads once.
  imgsIcons.BeginUpdate();
  const ScopeExit end_update([this] { imgsIcons.EndUpdate(); });
  if (size != imgsIcons.Width()) {
    imgsIcons.SetSize(size, size);
    PlacePreview();
  }
  for (int index = 0; index < static_cast<int>(images.size()); ++index) {
    UniqueBitmap image = ImageBitmap(images[index].Image);
    UniqueBitmap mask = MaskBitmap(images[index].Mask);
    if (index < imgsIcons.Count())
      imgsIcons.Replace(index, image.get(), mask.get());
    else
      imgsIcons.Add(image.get(), mask.get());
  }
}

}  // namespace lumitrax
