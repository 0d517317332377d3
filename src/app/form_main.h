#pragma once
// The main window: the settings window, hidden most of the time. It holds the
// controls and composes the program's parts: the lock monitor, the tray
// indicator, the on-screen display and the usage ping, wiring their events.
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/one_instance.h"
#include "core/settings_schema.h"
#include "framework/control_description.h"
#include "framework/form.h"
#include "framework/image.h"
#include "framework/menu.h"
#include "framework/std_controls.h"
#include "indicator/lock_monitor.h"
#include "indicator/overflow_hint.h"
#include "indicator/tray_indicator.h"
#include "osd/osd_controller.h"
#include "settings/check_group_box.h"
#include "settings/color_combo_box.h"
#include "settings/form_more_settings.h"
#include "settings/led_glyphs.h"
#include "settings/system_menu.h"
#include "settings/up_down_edit.h"
#include "web/form_about.h"
#include "web/open_url.h"
#include "web/usage_ping.h"

namespace lumitrax {

class TfrmMain : public TForm, public TOsdHost {
 public:
  TfrmMain();
  ~TfrmMain() override;

  // The parts of the program, in the order they start.
  TLockMonitor LockMonitor;
  TTrayIndicator TrayIndicator{*this};
  // Windows 11's overflow: one balloon when the icon first arrives there.
  TOverflowHint OverflowHint{TrayIndicator.TrayIcon};
  TUsagePing UsagePing;
  TOsdController OsdController{*this};
  TOneInstance OneInstance;
  TTimer tmrRunOnce{1000, true};

  // The tray menu.
  TPopupMenu pmPopup;
  TMenuItem *miPopupSetup = nullptr, *miPopupMoreSettings = nullptr, *miSwitch = nullptr, *miNumLock = nullptr, *miCapsLock = nullptr;
  TMenuItem *miScrollLock = nullptr, *miPopupAbout = nullptr, *miPopup1 = nullptr, *miPopupClose = nullptr;

  // Controls, in their creation and tab order; their layout is the form
  // description (FormDescription, src/app/form_main_controls.cpp).
  TLabel lbInfo{*this};
  TCheckBox chbAutoRun{*this}, chbBeepOnSwitch{*this};
  TButton btnMoreSettings{*this};
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
  TCheckBox chbOsdLed1{grpOsd}, chbOsdLed2{grpOsd}, chbOsdLed3{grpOsd}, chbOsdAutoHide{grpOsd}, chbOsdHideAfter{grpOsd};
  TUpDownEdit edOsdHideAfter{grpOsd};
  TLabel lbOsdSize{grpOsd};
  TComboBox cmbOsdSize{grpOsd};
  TLabel lbOsdBody{grpOsd};
  TColorComboBox cmbOsdBody{grpOsd};
  TLabel lbOsdText{grpOsd};
  TColorComboBox cmbOsdText{grpOsd};
  TLabel lbOsdOpacity{grpOsd};
  TUpDownEdit edOsdOpacity{grpOsd};
  TBitBtn btnNumLock{*this}, btnCapsLock{*this}, btnScrollLock{*this};
  TImage imgFaceBook{*this}, imgGplus{*this}, imgTwitter{*this}, imgRSS{*this}, imgDelicious{*this};
  TImage imgStumbleUpon{*this};
  TPanel pnWebBrowser{*this};
  TLabel lbLink{*this};
  TImage imgLedOn{*this}, imgLedOff{*this};
  // "About" and a separator at the top of the window menu, mirrored from the
  // tray menu; smiAbout is constructed first and so takes the lower ids.
  TSystemMenuItem smiAbout{this}, smiSplit{this};
  // The options that have no room here; its controls hold their settings.
  TfrmMoreSettings frmMoreSettings;

  std::vector<TControlDescription> FormDescription();
  std::array<TColorComboBox*, 6> ColorCombos();

  // The settings as the controls hold them now: the one place they are read.
  core::Settings CurrentSettings();
  void SettingsToControls(const core::Settings& settings);
  void LoadSettings(), SaveSettings();
  std::string StoredBounds();  // "Bounds" for the window where it is now

  // The window's life and commands.
  void FormCreate(), FormShow(), FormHide(), FormCloseQuery(bool& can_close), FormClose(TCloseAction& action);
  void FormKeyDown(WORD& key, TShiftState shift), OnMessage(MSG& msg, bool& handled);
  void tmrRunOnceTimer(), ApplySettings();
  void actSetupExecute(), actMoreSettingsExecute(), actCloseExecute(), actAboutExecute();
  TAboutHost AboutHost();
  virtual void DisableTrayMenu(bool include_close), EnableTrayMenu();

  // The parts brought up to date with the controls.
  void ComposeTrayIcons(), UpdateOsd(), UpdateLockButtons(), UpdateSwitchMenuChecks(), AdoptCustomColors();
  // The tray icon's settings as the controls hold them, in the theme's colours.
  core::TrayIconSettings TrayIconSettingsNow();
  core::TrayIconSettings TrayIconSettingsFor(const core::Settings& settings);
  bool SendPing(const std::wstring& action, const std::wstring& extra = L"", bool force = false);
  void OnLinkClick(TComponent& sender);
  // Where a link click sends its address: the default web browser.
  std::function<void(const std::string& address)> OpenLinkAddress = OpenURL;

  // The "Send anonymous usage reports" box of "More settings". Checked: the
  // user's choice, shown unchecked while an administrator's policy turns the
  // reports off; greyed while that policy holds. Setting it takes effect for
  // the next ping and is stored with the other settings.
  bool UsageReportsChecked() const;
  bool UsageReportsGreyed() const;
  void SetUsageReports(bool on);
  // Brings the box of "More settings" in line with the above.
  void ShowUsageReports();

  // How far the controls below the information text moved down for its lines.
  int InfoTextGrowth() const noexcept { return FInfoTextGrowth; }
  // How much wider than designed the window is for its texts, in pixels.
  int WidthGrowth() const noexcept { return FWidthGrowth; }
  // The language of the "Language" setting (empty: Windows' own) for every
  // text of the program, at once.
  void ApplyLanguage(const std::string& setting);
  const std::string& LanguageSetting() const noexcept { return FLanguage; }
  // The grid colour is the user's once stored or picked; until then it is the
  // taskbar theme's default, follows the theme and is not written.
  bool GridColorChosen() const noexcept { return FGridColorChosen; }
  void FollowTaskbarTheme();

  bool AboutShowing = false;
  bool StartupPending() const noexcept { return FStartupPending; }
  bool CloseAllowed() const noexcept { return FCloseAllowed; }
  bool WindowVisible() const noexcept { return FWindowVisible; }

  // What the display asks of the window.
  HKEY SettingsRoot() const noexcept override { return FRegRoot; }
  const std::wstring& SettingsKey() const noexcept override { return FRegKey; }
  bool SettingsShown() override { return Visible(); }
  bool TrayMenuShowing() const noexcept override { return pmPopup.PopupShowing(); }
  bool SettingsCommandEnabled() const noexcept override { return miPopupSetup && miPopupSetup->Enabled; }
  void OpenSettings() override, PopupTrayMenu(HWND owner, POINT at) override;

 protected:
  void CreateParams(TCreateParams& params) override, CreateWnd() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void DpiChanged(UINT dpi, const RECT& suggested) override;
  void ThemeChanged() override;

 private:
  void CreateComponents(), CreateControls(), BindControls(), CreateSystemMenuItems();
  // What screen readers hear of the controls that no label names.
  void DescribeControls();
  // Every text in the language in use, and the places they need.
  void ApplyTexts();
  std::vector<std::wstring> LockListItems(), SizeListItems();
  // Every text gets its room at this scale; the window grows with the information text.
  void FitPlacesToTexts(), UseWindowsVersionDefaults(), chbAutoRunClick(), AskToClose();
  // At start: the Run entry follows the setting, unless the user turned it off
  // in Windows (Task Manager, Settings); then the box shows that and neither
  // entry is touched.
  void ApplyAutorunAtStart();
  bool GridColorStored();
  void ShowDialogOnce(bool& showing, const std::function<void()>& show);
  // The end of the Windows session: asked, cancelled by another program, or done.
  void BeginSessionEnd(), SessionEndCancelled(), EndSession();

  bool FSettingsPending = true, FFirstShow = true, FStartupPending = true;
  bool FWindowVisible = false, FCloseAllowed = false, FCloseAsking = false;
  bool FCloseAllowedBeforeSessionEnd = false;  // as it was when Windows asked to end
  int FInfoTextGrowth = 0;  // in pixels
  int FWidthGrowth = 0;      // in pixels
  std::string FLanguage;    // the "Language" setting
  bool FLanguageApplied = false;
  TLedGlyphs FLedGlyphs;
  bool FGridColorChosen = false, FSettingControls = false;
  bool FShowingWindowsAutorunChoice = false;  // the box is unticked to show it, nothing written
  HKEY FRegRoot = nullptr;
  std::wstring FRegKey;
};

}  // namespace lumitrax
