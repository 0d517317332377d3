#pragma once
// The tray indicator: the three images of the icon (current state, all lit,
// none lit) drawn by the core from the tray settings and the lock states, the
// notification-area icon that shows them, and the blinking preview of the
// settings window.
#include <windows.h>

#include <array>
#include <optional>
#include <utility>

#include "core/icon_composer.h"
#include "framework/image_list.h"
#include "framework/std_controls.h"
#include "framework/timer.h"
#include "indicator/tray_icon.h"
#include "settings/indexed_image.h"

namespace lumitrax {

class TTrayIndicator {
 public:
  // owner: the window the tray icon brings forward and opens its menu over.
  explicit TTrayIndicator(TWindow& owner);

  TImageList imgsIcons{16, 16};
  TTrayIcon TrayIcon;
  TTimer tmrAnimation{1000, false};

  // The preview of the settings window: a panel in the tray's colour and the
  // image that blinks between all lit and none lit.
  void SetPreview(TPanel& panel, TIndexedImage& image) noexcept;
  void tmrAnimationTimer();
  // The colour of the notification area, sampled from the screen.
  static COLORREF GetTrayAreaColor(COLORREF default_color);

  // Draws the three images at the small-icon size of the taskbar's DPI; the
  // tray icon reloads once.
  void ComposeTrayIcons(const core::TrayIconSettings& settings, const core::LockStates& lock_states);
  // The taskbar came back or its DPI or the system's metrics may have
  // changed: the images are drawn again, at the size the taskbar now takes.
  void TaskbarChanged();
  // The DPI of the monitor that holds the taskbar (the system's without one),
  // and the size of the tray's images for it: 16, 20, 24 or 32 pixels.
  static UINT TaskbarDpi();
  static int TrayImageSize();
  // The preview image at the images' size, centred in its panel.
  void PlacePreview();
  void UpdateTransparentColor(const core::TrayIconSettings& settings);
  COLORREF TransparentColor() const noexcept { return FTransparentColor; }

 private:
  // What the images were last drawn from, for drawing them again.
  std::optional<std::pair<core::TrayIconSettings, core::LockStates>> FLastComposed;
  TPanel* FPreviewPanel = nullptr;
  TIndexedImage* FPreviewImage = nullptr;
  COLORREF FTransparentColor = 0xFF00FF;
  int FImageSize = 0;  // the images' size for the taskbar; 0 until measured
};

}  // namespace lumitrax
