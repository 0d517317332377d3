#pragma once
// The main window: the settings window, hidden most of the time, and the owner
// of every component of the program.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "core/ping_policy.h"
#include "core/icon_composer.h"
#include "framework/control.h"
#include "framework/image_list.h"
#include "framework/form.h"
#include "framework/image.h"
#include "framework/menu.h"
#include "framework/timer.h"
#include "indicator/tray_icon.h"

namespace lumitrax {

// Posted by a second instance to the running instance's application window.
constexpr UINT WM_ACTIVATEINSTANCE = 35557;

class TfrmMain : public TForm {
 public:
  TfrmMain();
  ~TfrmMain() override;

  // The tray icon images (current state, all lit, none lit) and the icon.
  TImageList imgsIcons{16, 16};
  TTrayIcon TrayIcon{*this};

  // Timers.
  TTimer tmrRunOnce{1000, true};
  TTimer tmrMinutes{60000, false};
  TTimer tmrSwitchGuard{1300, true};
  TTimer tmrSwitched{10, false};
  TTimer tmrAnimation{1000, false};

  // The tray menu.
  TPopupMenu pmPopup;
  TMenuItem* miPopupSetup = nullptr;
  TMenuItem* miSwitch = nullptr;
  TMenuItem* miNumLock = nullptr;
  TMenuItem* miCapsLock = nullptr;
  TMenuItem* miScrollLock = nullptr;
  TMenuItem* miPopupAbout = nullptr;
  TMenuItem* miPopup1 = nullptr;
  TMenuItem* miPopupClose = nullptr;

  // Controls.
  TCheckBox chbAutoRun{*this};
  TCheckBox chbBeepOnSwitch{*this};
  TBitBtn btnNumLock{*this};
  TBitBtn btnCapsLock{*this};
  TBitBtn btnScrollLock{*this};
  TImage imgLedOn{*this};
  TImage imgLedOff{*this};

  // Handlers of the window's life.
  void FormCreate();
  void FormShow();
  void FormHide();
  void FormCloseQuery(bool& can_close);
  void FormClose(TCloseAction& action);
  void FormDestroy();
  void FormKeyDown(WORD& key, TShiftState shift);
  void OnMessage(MSG& msg, bool& handled);
  void tmrRunOnceTimer();
  void tmrMinutesTimer();
  void actSetupExecute();
  void actCloseExecute();
  void ApplySettings();
  void LoadSettings();
  void SaveSettings();
  static void TrimWorkingSet();
  static core::RandomBelow RandomBelow();
  virtual void DisableTrayMenu(bool include_close);
  virtual void EnableTrayMenu();

  // The lock monitor and switching.
  void tmrSwitchedTimer();
  void tmrSwitchGuardTimer();
  void UpdateLockStates();
  void SwitchLockClick(TComponent& sender);
  void UpdateLockButtons();
  void UpdateSwitchMenuChecks();
  // One beep per update that found a change; counted for the curious.
  void Beep();
  int BeepCount() const noexcept { return FBeepCount; }
  int LockUpdateCount() const noexcept { return FLockUpdateCount; }
  const std::array<bool, 3>& LockStates() const noexcept { return FLockStates; }

  // The tray icon composer.
  void ComposeTrayIcons();
  core::TrayIconSettings CurrentTrayIconSettings() const;
  void TrayIconClick();
  COLORREF TransparentColor() const noexcept { return FTransparentColor; }

  // Parts of the program that hang off the lifecycle.
  void UpdateOsd();

  // Flags shared with the web presence.
  bool StartPingPending = true;
  bool SessionEnding = false;
  bool AboutShowing = false;
  double LastPingTime = 0;

  bool StartupPending() const noexcept { return FStartupPending; }
  bool CloseAllowed() const noexcept { return FCloseAllowed; }
  bool WindowVisible() const noexcept { return FWindowVisible; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void CreateComponents();
  void PlaceControls();

  bool FSettingsPending = true;
  bool FFirstShow = true;
  bool FStartupPending = true;
  bool FUpdating = false;
  bool FWindowVisible = false;
  bool FCloseAllowed = false;
  bool FCloseAsking = false;
  COLORREF FTransparentColor = 0;
  std::array<bool, 3> FLockStates{};
  HKEY FRegRoot = nullptr;
  std::wstring FRegKey;

  int FBeepCount = 0;
  int FLockUpdateCount = 0;
};

}  // namespace lumitrax
