#pragma once
// The theme the program's windows are drawn in: light, dark (Windows apps in
// dark mode) or high contrast, with its palette and brushes. Every form
// follows a switch while it runs: TForm hands the theme the system's change
// messages and repaints itself.
//
// What a form needs: be a TForm. Its controls' WM_CTLCOLOR* answers, its
// background and its title bar then follow the theme. A control that draws
// itself takes its colours from Theme().Colors().
#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "core/theme_palette.h"
#include "framework/handles.h"

namespace lumitrax {

class TTheme {
 public:
  core::ThemeKind Kind() const noexcept { return kind_; }
  bool Dark() const noexcept { return kind_ == core::ThemeKind::Dark; }
  bool HighContrast() const noexcept { return kind_ == core::ThemeKind::HighContrast; }
  // Dark and high contrast: the push buttons and group frames, which a visual
  // style would draw in its own colours, are drawn by us in the palette's.
  bool DrawsOwnFrames() const noexcept { return kind_ != core::ThemeKind::Light; }
  // The colour of those frames: 3:1 against the face in the dark palette,
  // the text colour in high contrast.
  COLORREF FrameColor() const noexcept { return Dark() ? RGB(0x8A, 0x8A, 0x8A) : palette_.text; }
  const core::Palette& Colors() const noexcept { return palette_; }
  HBRUSH FaceBrush();
  HBRUSH EditBrush();

  // Reads the system's settings again; true when anything changed.
  bool Refresh();
  // Whether a message tells of a change the theme follows: WM_THEMECHANGED,
  // WM_SYSCOLORCHANGE, WM_SETTINGCHANGE for "ImmersiveColorSet" or
  // SPI_SETHIGHCONTRAST.
  static bool IsThemeChange(UINT message, WPARAM wparam, LPARAM lparam);

  // The colours for a WM_CTLCOLOR* message: text and background set on the
  // device context, the brush returned; null where the system's own answer
  // stands (the light theme).
  HBRUSH ControlColors(UINT message, HDC dc);
  // The window without its visual style (classic: it takes the colours its
  // parent gives) or with it again (SetWindowTheme).
  void ApplyControlLook(HWND window, bool classic) const;
  // A push button's custom-draw notification: in the dark and high-contrast
  // themes the button is drawn here (a visual style would draw it in its own
  // light colours) and CDRF_SKIPDEFAULT returned; else CDRF_DODEFAULT.
  LRESULT CustomDrawPushButton(HWND button, const NMCUSTOMDRAW& draw);
  // The title bar dark or light (DWMWA_USE_IMMERSIVE_DARK_MODE).
  void ApplyTitleBar(HWND window) const;

  // Tests: this theme instead of the system's (nullopt: the system's again).
  void SetForTesting(std::optional<core::ThemeKind> kind);

 private:
  void PaintPushButton(HWND button, const NMCUSTOMDRAW& draw);

  core::ThemeKind kind_ = core::ThemeKind::Light;
  core::Palette palette_ = core::DarkPalette();
  std::optional<core::ThemeKind> forced_;
  bool read_ = false;
  UniqueBrush face_, edit_;
};

// The process's theme, read on first use.
TTheme& Theme();

}  // namespace lumitrax
