#pragma once
// The main window: the settings window, hidden most of the time, and the owner
// of every component of the program.
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/ping_policy.h"
#include "core/ping_query.h"
#include "core/icon_composer.h"
#include "core/settings_schema.h"
#include "app/one_instance.h"
#include "framework/control.h"
#include "framework/image_list.h"
#include "framework/form.h"
#include "framework/image.h"
#include "framework/menu.h"
#include "framework/std_controls.h"
#include "framework/timer.h"
#include "indicator/tray_icon.h"
#include "settings/check_group_box.h"
#include "settings/color_combo_box.h"
#include "settings/indexed_image.h"
#include "settings/system_menu.h"
#include "settings/up_down_edit.h"

namespace lumitrax {

class TfrmOsd;

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

  // Controls, in their creation and tab order; their layout is the form
  // description (FormDescription).
  TLabel lbInfo{*this};
  TCheckBox chbAutoRun{*this};
  TCheckBox chbBeepOnSwitch{*this};
  TGroupBox grpTrayIcon{*this};
  TPanel pnTrayIcon{grpTrayIcon};
  TIndexedImage imgTrayIcon{pnTrayIcon};
  TComboBox cmbLed1{grpTrayIcon};
  TLabel lbLed1{grpTrayIcon};
  TColorComboBox cmbColor1{grpTrayIcon};
  TComboBox cmbLed2{grpTrayIcon};
  TLabel lbLed2{grpTrayIcon};
  TColorComboBox cmbColor2{grpTrayIcon};
  TComboBox cmbLed3{grpTrayIcon};
  TLabel lbLed3{grpTrayIcon};
  TColorComboBox cmbColor3{grpTrayIcon};
  TCheckBox chbIconMarks{grpTrayIcon};
  TLabel lbGrid{grpTrayIcon};
  TColorComboBox cmbColorGrid{grpTrayIcon};
  TCheckGroupBox grpOsd{*this};
  TPanel pnOsd{grpOsd};
  TCheckBox chbOsdLed1{grpOsd};
  TCheckBox chbOsdLed2{grpOsd};
  TCheckBox chbOsdLed3{grpOsd};
  TCheckBox chbOsdAutoHide{grpOsd};
  TCheckBox chbOsdHideAfter{grpOsd};
  TUpDownEdit edOsdHideAfter{grpOsd};
  TLabel lbOsdSize{grpOsd};
  TComboBox cmbOsdSize{grpOsd};
  TLabel lbOsdBody{grpOsd};
  TColorComboBox cmbOsdBody{grpOsd};
  TLabel lbOsdText{grpOsd};
  TColorComboBox cmbOsdText{grpOsd};
  TLabel lbOsdOpacity{grpOsd};
  TUpDownEdit edOsdOpacity{grpOsd};
  TBitBtn btnNumLock{*this};
  TBitBtn btnCapsLock{*this};
  TBitBtn btnScrollLock{*this};
  TImage imgFaceBook{*this};
  TImage imgGplus{*this};
  TImage imgTwitter{*this};
  TImage imgRSS{*this};
  TImage imgDelicious{*this};
  TImage imgStumbleUpon{*this};
  TPanel pnWebBrowser{*this};
  TLabel lbLink{*this};
  TImage imgLedOn{*this};
  TImage imgLedOff{*this};

  // One row of the form description: where a control sits (96-dpi pixels,
  // relative to its parent), what it says and which tag and hint it carries.
  struct TControlDescription {
    TControl& control;
    const wchar_t* name;
    int left, top, width, height;
    const wchar_t* caption;
    intptr_t tag;
    const wchar_t* hint;
  };
  std::vector<TControlDescription> FormDescription();
  // Every colour picker of the window.
  std::array<TColorComboBox*, 6> ColorCombos();

  // Handlers of the settings window.
  void grpOsdCheckBoxClick(TComponent& sender);
  void OsdSettingsChange(TComponent& sender);
  void UpDownClick(TComponent& sender);
  void OnLinkMouseEnter(TComponent& sender);
  void OnLinkMouseLeave(TComponent& sender);
  void AdoptCustomColors();

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
  void UpdateTransparentColor();
  void TrayIconSettingsChange(TComponent& sender);
  static COLORREF GetTrayAreaColor(COLORREF default_color);
  void tmrAnimationTimer();
  void TrayIconClick();
  COLORREF TransparentColor() const noexcept { return FTransparentColor; }

  // --- The on-screen display ---
  std::unique_ptr<TfrmOsd> frmOsd;
  bool OsdExists() const noexcept;
  void CreateOsd();
  void DestroyOsd();
  void UpdateOsd();
  std::string GetOsdText();
  bool IsOsdNeeded();
  // The settings root and key path; the display keeps its own key below them.
  HKEY SettingsRoot() const noexcept { return FRegRoot; }
  const std::wstring& SettingsKey() const noexcept { return FRegKey; }

  // --- System menu items ---
  // "About" and a separator at the top of the window menu, mirrored from the
  // tray menu; smiAbout is constructed first and so takes the lower ids.
  TSystemMenuItem smiAbout{this};
  TSystemMenuItem smiSplit{this};
  void CreateSystemMenuItems();

  // --- Usage ping ---
  bool SendPing(const std::wstring& action, const std::wstring& extra = L"", bool force = false);
  // What the ping tells of the settings, read from the controls now.
  core::PingSettings CurrentPingSettings();

  // --- Links and About ---
  void OnLinkClick(TComponent& sender);
  void actAboutExecute();

  // --- Settings store, autorun and single instance ---
  TOneInstance OneInstance;
  void chbAutoRunClick(TComponent& sender);
  // The settings as the controls hold them now, and back into the controls.
  core::Settings SettingsFromControls();
  void SettingsToControls(const core::Settings& settings);
  // "Bounds" for the window where it is now.
  std::string StoredBounds();
  // White LEDs on a black grid before Windows Vista.
  void UseWindowsVersionDefaults();


  // Flags shared with the web presence. The usage ping's state keeps the
  // names the rest of the program knows it by.
  core::PingPolicy PingState;
  bool& StartPingPending = PingState.StartPingPending;
  bool& SessionEnding = PingState.SessionEnding;
  core::DateTime& LastPingTime = PingState.LastPingTime;
  bool AboutShowing = false;

  bool StartupPending() const noexcept { return FStartupPending; }
  bool CloseAllowed() const noexcept { return FCloseAllowed; }
  bool WindowVisible() const noexcept { return FWindowVisible; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void CreateComponents();
  void CreateControls();

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
