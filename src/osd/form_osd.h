#pragma once
// The on-screen display: a small borderless, always-on-top, semi-transparent
// window that shows the state of the selected locks, one line per lock. The
// main window decides what it says and whether it shows; the window keeps
// itself on top, fades out when its countdown ends, can be dragged, and keeps
// its position in the registry.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/color.h"
#include "core/display_placement.h"
#include "core/osd_logic.h"
#include "core/registry_store.h"
#include "core/windows_version.h"
#include "framework/form.h"
#include "framework/handles.h"
#include "framework/timer.h"
#include "framework/wnd_proc_hook.h"

namespace lumitrax {

// What the display needs of the program around it.
class TOsdHost {
 public:
  virtual ~TOsdHost() = default;
  // The settings root and key path; the display keeps its own key below them.
  virtual HKEY SettingsRoot() const noexcept = 0;
  virtual const std::wstring& SettingsKey() const noexcept = 0;
  virtual bool SettingsShown() = 0;
  virtual bool TrayMenuShowing() const noexcept = 0;
  // Whether the settings command is available (no dialog of the program is open).
  virtual bool SettingsCommandEnabled() const noexcept = 0;
  virtual void OpenSettings() = 0;
  virtual void PopupTrayMenu(HWND owner, POINT at) = 0;
};

// A colour of the pickers as the screen shows it: system colours resolved.
COLORREF ColorToRgb(core::Color color);

// Whether the system blends layered windows: Windows 2000 or later, and any
// Windows the program does not recognise.
bool LayeredWindowsSupported(const core::WindowsVersion& version);
bool LayeredWindowsSupported();

// Processes the program's messages until at least `milliseconds` have passed.
void DelayWithMessages(DWORD milliseconds);

// Where a display that follows the user goes: a corner of a monitor.
struct TOsdPlace {
  core::DisplayAnchor Anchor;
  core::MonitorArea Monitor;
};

class TfrmOsd : public TForm {
 public:
  // The texts of another language (the tip).
  void LanguageChanged() { CreateHint(); }
  // The position is kept in `registry` under the main window's settings key.
  // A copy (the display on a further monitor) never writes it.
  TfrmOsd(TOsdHost& host, std::unique_ptr<core::RegistryStore> registry, bool copy = false);
  ~TfrmOsd() override;

  TWndProcHook WndProcHook{this};
  TTimer tmrVisible{1000, false};
  TTimer tmrHideAfter{10000, false};

  // Hands the display what to show and how; always true.
  bool Display(bool AShow, int AOpacity, int ASize, core::Color ABodyColor, core::Color ATextColor,
               const std::string& AText);
  // Back into the work area and above every other topmost window, unless the
  // program is in the user's way (settings window or tray menu open, a dialog).
  void StayOnTop();
  // Re-arms the countdown after which the display fades out ("Hide after"
  // checked and its seconds; none while the settings window shows).
  void RestartHideTimer(bool hide_after, int seconds, bool settings_shown);
  // To the top of the topmost band, without moving, sizing or activating it.
  void BringToTopmost();
  // A place on a monitor instead of the stored one (none: back to the stored
  // one). It is taken at once, and again whenever the display shows; the
  // stored place stays what the user chose, and a drag chooses it anew.
  void SetPlace(const std::optional<TOsdPlace>& place);
  // The stored place at the display's current size.
  core::Rect StoredPlace();
  bool IsCopy() const noexcept { return FCopy; }
  // The user dropped a copy here: the place it tells is the user's new place.
  std::function<void(core::Point dropped)> OnCopyDropped;
  // The user's place, chosen where a copy was dropped.
  void SetStoredPosition(core::Point position) noexcept { FStoredPosition = position; }

  const std::wstring& Text() const noexcept { return FText; }
  core::Color BodyColor() const noexcept { return FBodyColor; }
  core::Color TextColor() const noexcept { return FTextColor; }
  const core::OsdPressState& PressState() const noexcept { return FPress; }
  bool Fading() const noexcept { return FFading; }
  // The "Click to move" tip, shown when the mouse rests on the display; never
  // during a drag.
  HWND HintWindow() const noexcept { return ToolTip(); }

  // The display is to go while its fade runs further down the stack: the fade
  // stops at its next step and frees the window once it has returned.
  static void ReleaseAfterFade(std::unique_ptr<TfrmOsd> osd);

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  // On a monitor of another scale: the font and margins at the new DPI, the
  // window at the suggested place and inside that monitor's work area.
  void DpiChanged(UINT dpi, const RECT& suggested) override;

 private:
  int BodyMargin();
  void FormCreate();
  void FormShow();
  void FormHide();
  void FormDblClick();
  void tmrVisibleTimer();
  void tmrHideAfterTimer();
  void FadeOut();
  void LoadBounds();
  void SaveBounds();
  void WndProcHookMessageBefore(THookMessage& msg);
  void WndProcHookMessageAfter(const THookMessage& msg);
  void CreateHint();
  void RelayToHint(const THookMessage& msg);
  void SuspendHint(bool suspend);

  void SetAlpha(uint8_t alpha);
  void SetFontSize(int size);
  // Sizes the window to the text plus the 1-pixel body margin on every side.
  void FitToText();
  SIZE TextExtent(const std::wstring& text);
  void Paint(HDC dc);
  void KeepInWorkArea();
  core::Point Position();
  void MoveToPlace();

  TOsdHost& FHost;
  std::unique_ptr<core::RegistryStore> FRegistry;
  core::Color FBodyColor = 0;
  core::Color FTextColor = 0;
  int FSize = core::OsdDefaultSize;
  core::OsdPressState FPress;
  core::RegistryRoot FRegRoot = core::HkeyCurrentUser;
  std::string FRegKey;

  std::wstring FText;
  UniqueFont FFont;
  uint8_t FAlpha = 255;
  bool FLayered = false;
  bool FFading = false;
  // The tip window (owned by the display's window, which destroys it) and
  // whether a press, and so a drag, is running.
  bool FDragging = false;
  std::unique_ptr<TfrmOsd> FReleased;
  bool FCopy = false;
  core::Point FStoredPosition;
  std::optional<TOsdPlace> FPlace;
};

}  // namespace lumitrax
