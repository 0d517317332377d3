#include "app/form_main.h"

#include "app/exit_request.h"
#include "core/icon_composer.h"
#include "core/links.h"
#include "core/ping_query.h"
#include "core/settings_views.h"
#include "framework/application.h"
#include "framework/message_dialog.h"
#include "framework/language.h"
#include "framework/os_functions.h"
#include "framework/scope_exit.h"
#include "framework/text.h"
#include "framework/theme.h"
#include "framework/version_info.h"
#include "indicator/lock_state.h"
#include "web/open_url.h"

namespace lumitrax {

TfrmMain::TfrmMain() {
  CreateComponents();
  // The application window loses its taskbar button for good; the settings
  // window is owned by it and so never gets one either.
  Application().SetHidden(true);
  Application().OnMessage = [this](MSG& msg, bool& handled) { OnMessage(msg, handled); };
  // A second start and "/exit" come with the user's normal rights, also
  // when this copy runs as administrator: exactly their two messages pass.
  for (const UINT message : {WM_ACTIVATEINSTANCE, WM_EXITINSTANCE})
    AllowMessageFromLesserRights(Application().Handle(), message);
  chbAutoRun.OnClick = [this](TComponent&) { chbAutoRunClick(); };
  // One instance per user: a duplicate hands over to the running one here
  // and ends as soon as its message loop starts.
  OneInstance.Name = L"OneInstance";
  OneInstance.PerformChecking = TPerformChecking::pcForCurrentUserOnly;
  OneInstance.CheckInstance();
  // A failing start-up step stops the remaining ones; the error is shown and
  // the program runs on with what was done so far.
  try {
    FormCreate();
  } catch (const std::exception& error) {
    Application().HandleException(error);
  }
}

TfrmMain::~TfrmMain() {
  Application().OnMessage = nullptr;
  // The "More settings" window goes before the controls its hiding would save from.
  frmMoreSettings.OnHide = nullptr;
  frmMoreSettings.OnSettingChange = nullptr;
  // The display goes first, while the window it asks still stands.
  OsdController.DestroyOsd();
  LockMonitor.KeyboardHook.Remove();
  UsagePing.Stop();
}

void TfrmMain::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.class_name = L"TfrmMain";
  params.caption = Application().Title();
  // Single fixed border, system menu and close box only.
  params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  params.ex_style = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
  const UINT dpi = WindowDpi(nullptr);
  RECT frame{0, 0, ScaleForDpi(332, dpi), ScaleForDpi(503, dpi)};
  os::AdjustWindowRectExForDpi(&frame, params.style, false, params.ex_style, dpi);
  params.x = params.y = 0;
  params.width = frame.right - frame.left;
  params.height = frame.bottom - frame.top;
}

void TfrmMain::CreateWnd() {
  TForm::CreateWnd();
  // The hook always posts to the current handle, also after a re-creation.
  LockMonitor.KeyboardHook.SetTarget(Handle());
  LockMonitor.WatchSession(Handle());
}

void TfrmMain::CreateComponents() {
  Name = L"frmMain";
  // Windows' own language until the stored settings say otherwise.
  UseLanguageSetting(FLanguage);
  SetFont(UiFontFace(), 12);
  KeyPreview = true;
  OnShow = [this](TComponent&) { FormShow(); };
  OnHide = [this](TComponent&) { FormHide(); };
  OnCloseQuery = [this](TComponent&, bool& can_close) { FormCloseQuery(can_close); };
  OnClose = [this](TComponent&, TCloseAction& action) { FormClose(action); };
  OnKeyDown = [this](TComponent&, WORD& key, TShiftState shift) { FormKeyDown(key, shift); };
  tmrRunOnce.OnTimer = [this](TComponent&) { tmrRunOnceTimer(); };

  // The parts of the program, wired to the window.
  LockMonitor.BeepOnSwitch = [this] { return CurrentSettings().BeepOnSwitch; };
  LockMonitor.BeepTones = [this] { return frmMoreSettings.chbBeepTones.Checked(); };
  LockMonitor.OnChange = [this] {
    // The display first, with the states just read: it is what the eye waits
    // for. The tray icon (a round trip to the taskbar's process) follows.
    // The controls are read once for both. (The preview panel's colours
    // follow the settings, not the locks.)
    const core::Settings settings = CurrentSettings();
    OsdController.UpdateOsd(settings, LockMonitor.LockStates());
    TrayIndicator.ComposeTrayIcons(TrayIconSettingsFor(settings), LockMonitor.LockStates());
    UpdateLockButtons();
  };
  // A full-screen program came to the front or left it: the display follows.
  OsdController.FullScreenWatch.OnChange = [this] { UpdateOsd(); };
  UsagePing.CurrentSettings = [this] {
    return core::PingSettingsOf(CurrentSettings(), TUsagePing::ProgramVersion());
  };

  // The tray menu.
  auto switch_lock = [this](TComponent& sender) { LockMonitor.SwitchLockClick(sender); };
  miPopupSetup = &pmPopup.Items.Add(Tr(T::MenuSettings));
  miPopupSetup->Default = true;
  miPopupSetup->OnClick = [this](TComponent&) { actSetupExecute(); };
  miPopupMoreSettings = &pmPopup.Items.Add(Tr(T::MenuMoreSettings));
  miPopupMoreSettings->OnClick = [this](TComponent&) { actMoreSettingsExecute(); };
  miSwitch = &pmPopup.Items.Add(Tr(T::MenuSwitch));
  miNumLock = &miSwitch->Add(Tr(T::NumLock), 1);
  miCapsLock = &miSwitch->Add(Tr(T::CapsLock), 2);
  miScrollLock = &miSwitch->Add(Tr(T::ScrollLock), 3);
  for (TMenuItem* item : {miNumLock, miCapsLock, miScrollLock}) item->OnClick = switch_lock;
  miPopupAbout = &pmPopup.Items.Add(Tr(T::MenuAbout));
  miPopupAbout->OnClick = [this](TComponent&) { actAboutExecute(); };
  miPopup1 = &pmPopup.Items.Add(L"-");
  miPopupClose = &pmPopup.Items.Add(Tr(T::MenuClose));
  miPopupClose->OnClick = [this](TComponent&) { actCloseExecute(); };
  pmPopup.OnPopup = [this](TComponent&) { UpdateSwitchMenuChecks(); };

  TTrayIcon& tray = TrayIndicator.TrayIcon;
  tray.MinimizeToTray = true;
  tray.PopupMenu = &pmPopup;
  // A click with Alt held opens the settings window.
  tray.OnClick = [this](TComponent&) {
    if (::GetKeyState(VK_MENU) < 0) miPopupSetup->Click();
  };

  CreateControls();
  TrayIndicator.SetPreview(pnTrayIcon, imgTrayIcon);
  CreateSystemMenuItems();
  btnNumLock.OnClick = switch_lock;
  btnCapsLock.OnClick = switch_lock;
  btnScrollLock.OnClick = switch_lock;
}

void TfrmMain::FormCreate() {
  if (OneInstance.InstanceExists()) {
    Application().Terminate();
    return;
  }
  FRegRoot = HKEY_CURRENT_USER;
  FRegKey = L"\\Software\\MOVRANIK\\Lumitrax";
  ::SetWindowTextW(Handle(), Application().Title().c_str());
  // The tip is set once: the title and the program's version.
  TTrayIcon& tray = TrayIndicator.TrayIcon;
  tray.SetHint(Application().Title() + L" (" + GetFileVersionString(GetModulePath()) + L")");
  // Each time the icon arrives (also after a retry): the hint, when due.
  tray.OnShow = [this](TComponent&) {
    try {
      OverflowHint.ShowIfDue(Narrow(FRegKey));
    } catch (const std::exception& error) {
      Application().HandleException(error);
    }
  };
  tray.SetVisible(true);
  ComposeTrayIcons();
  pnTrayIcon.DoubleBuffered = true;

  UsagePing.Start(core::PingBaseUrl(core::DefaultLinkRoots().ProductSite));
  UseWindowsVersionDefaults();
  LockMonitor.InstallHook(Handle());
  ApplySettings();
}

void TfrmMain::ApplySettings() {
  if (!FSettingsPending) return;
  FSettingsPending = false;
  LoadSettings();
  ApplyAutorunAtStart();
  grpOsd.OnCheckBoxClick(grpOsd);
  ComposeTrayIcons();
  UpdateLockButtons();
  UpdateOsd();
}

void TfrmMain::tmrRunOnceTimer() {
  tmrRunOnce.SetEnabled(false);
  FStartupPending = false;
  ComposeTrayIcons();
  TrimWorkingSet();
}

void TfrmMain::FormShow() {
  if (FFirstShow) {
    FFirstShow = false;
    ::SetFocus(Handle());
  } else {
    LockMonitor.InstallHook(Handle());
  }
  pnTrayIcon.SetColor(TTrayIndicator::GetTrayAreaColor(::GetSysColor(COLOR_BTNFACE)));
  TrayIndicator.tmrAnimation.SetEnabled(true);
  UpdateLockButtons();
  UpdateOsd();
  FWindowVisible = true;
  TrimWorkingSet();
}

void TfrmMain::FormHide() {
  TrayIndicator.tmrAnimation.SetEnabled(false);
  UpdateOsd();
  TrimWorkingSet();
}

void TfrmMain::actSetupExecute() {
  Show();
  BringToFront();
}

void TfrmMain::actMoreSettingsExecute() {
  // A policy may have come or gone since the window was last shown.
  ShowUsageReports();
  frmMoreSettings.Open(Visible() ? Handle() : nullptr);
}

void TfrmMain::FormCloseQuery(bool& can_close) {
  if (FCloseAllowed || UsagePing.SessionEnding) {
    can_close = true;
    return;
  }
  // Closing only hides the window; the program runs on in the tray.
  can_close = false;
  Hide();
  FWindowVisible = Visible();
  SaveSettings();
}

void TfrmMain::FormClose(TCloseAction& /*action*/) {
  SendPing(L"stop");
  UpdateOsd();
  SaveSettings();
}

void TfrmMain::FormKeyDown(WORD& key, TShiftState /*shift*/) {
  if (Visible() && key == VK_ESCAPE) Close();
}

void TfrmMain::ShowDialogOnce(bool& showing, const std::function<void()>& show) {
  // One at a time, with the tray menu's other commands off while it shows.
  if (showing) return;
  showing = true;
  DisableTrayMenu(false);
  const ScopeExit restore([&] {
    EnableTrayMenu();
    showing = false;
  });
  show();
}

void TfrmMain::actCloseExecute() {
  ShowDialogOnce(FCloseAsking, [this] { AskToClose(); });
}

void TfrmMain::AskToClose() {
  const std::wstring& title = Application().Title();
  MessageDialogParams params;
  params.caption = title;
  params.icon = Application().Icon();
  params.text = TrFormat(T::CloseQuestion, {title});
  params.buttons = {Tr(T::Yes), Tr(T::No)};
  params.default_button = 1;
  params.cancel_button = 1;
  params.centre_over = Handle();
  if (MessageDialog(params) == 0) {
    FCloseAllowed = true;
    Close();
  }
}

void TfrmMain::actAboutExecute() {
  ShowDialogOnce(AboutShowing, [this] { ShowAbout(AboutHost()); });
}

TAboutHost TfrmMain::AboutHost() {
  return {*this, [this](TComponent& sender) { OnLinkClick(sender); }, [this] { SendPing(L"about"); }};
}

void TfrmMain::OnLinkClick(TComponent& sender) {
  const int tag = static_cast<int>(sender.Tag);
  OpenLinkAddress(core::LinkAddress(tag, core::DefaultLinkRoots(), TUsagePing::ProgramVersion()));
  SendPing(L"openlink", Widen(core::LinkPingExtra(tag)));
}

void TfrmMain::DisableTrayMenu(bool include_close) {
  miPopupSetup->Enabled = false;
  miPopupMoreSettings->Enabled = false;
  miPopupAbout->Enabled = false;
  if (include_close) miPopupClose->Enabled = false;
}

void TfrmMain::EnableTrayMenu() {
  miPopupSetup->Enabled = true;
  miPopupMoreSettings->Enabled = true;
  miPopupAbout->Enabled = true;
  miPopupClose->Enabled = true;
}

void TfrmMain::OpenSettings() {
  if (miPopupSetup) miPopupSetup->Click();
}

void TfrmMain::PopupTrayMenu(HWND owner, POINT at) { pmPopup.Popup(owner, at.x, at.y); }

core::TrayIconSettings TfrmMain::TrayIconSettingsNow() { return TrayIconSettingsFor(CurrentSettings()); }

core::TrayIconSettings TfrmMain::TrayIconSettingsFor(const core::Settings& settings) {
  core::TrayIconSettings tray = core::TrayIconSettingsOf(settings);
  // High contrast: the grid and the marks in the theme's text colour, which
  // the taskbar's background is made to carry; the LEDs keep the user's
  // colours, which are the point of the program.
  if (Theme().HighContrast()) tray.GridColor = Theme().Colors().text & 0xFFFFFF;
  return tray;
}

void TfrmMain::ThemeChanged() {
  TForm::ThemeChanged();
  if (FStartupPending) return;
  TrayIndicator.UpdateTransparentColor(TrayIconSettingsNow());
  ComposeTrayIcons();
}

void TfrmMain::ComposeTrayIcons() {
  TrayIndicator.ComposeTrayIcons(TrayIconSettingsNow(), LockMonitor.LockStates());
}

void TfrmMain::UpdateOsd() {
  const core::Settings settings = CurrentSettings();
  // The preview panel of the settings window follows the display's colours.
  pnOsd.SetColor(ColorToRgb(settings.OsdBody));
  pnOsd.SetCaptionColor(ColorToRgb(settings.OsdText));
  pnOsd.AccessibleChanged(EVENT_OBJECT_VALUECHANGE);
  OsdController.UpdateOsd(settings);
}

bool TfrmMain::UsageReportsChecked() const { return UsagePing.ReportsAllowed(); }

bool TfrmMain::UsageReportsGreyed() const {
  return UsagePing.UsageReportsForcedOff && UsagePing.UsageReportsForcedOff();
}

void TfrmMain::SetUsageReports(bool on) {
  UsagePing.UsageReports = on;
  ShowUsageReports();
}

void TfrmMain::ShowUsageReports() {
  // The box shows what holds: unchecked and greyed while the policy turns the
  // reports off, whatever the user's own stored choice is.
  const bool outer = FSettingControls;
  FSettingControls = true;
  const ScopeExit restore([&] { FSettingControls = outer; });
  TCheckBox& box = frmMoreSettings.chbUsageReports;
  box.SetChecked(UsageReportsChecked());
  box.SetEnabled(!UsageReportsGreyed());
}

bool TfrmMain::SendPing(const std::wstring& action, const std::wstring& extra, bool force) {
  return UsagePing.SendPing(action, extra, core::PingSettingsOf(CurrentSettings(), TUsagePing::ProgramVersion()),
                            force);
}

void TfrmMain::UpdateLockButtons() {
  // Screen readers hear the states in the buttons' names and the preview's value.
  for (TControl* control : std::initializer_list<TControl*>{&btnNumLock, &btnCapsLock, &btnScrollLock})
    control->AccessibleChanged(EVENT_OBJECT_NAMECHANGE);
  imgTrayIcon.AccessibleChanged(EVENT_OBJECT_VALUECHANGE);
  // Hidden, the glyphs are left alone; showing the window brings them up to date.
  if (!Visible()) return;
  for (TBitBtn* button : {&btnNumLock, &btnCapsLock, &btnScrollLock}) {
    const bool on = GetLockState(static_cast<int>(button->Tag));
    button->SetGlyph(FLedGlyphs.Glyph(on, Dpi(), imgLedOff.Picture(), imgLedOn.Picture()));
  }
}

void TfrmMain::UpdateSwitchMenuChecks() {
  for (TMenuItem* item : {miNumLock, miCapsLock, miScrollLock})
    item->Checked = GetLockState(static_cast<int>(item->Tag));
}

void TfrmMain::OnMessage(MSG& msg, bool& handled) {
  if (msg.message == WM_LOCKKEY) {
    handled = true;
    LockMonitor.LockKeyPressed();
  } else if (msg.message == WM_ACTIVATEINSTANCE) {
    if (miPopupSetup->Enabled) miPopupSetup->Click();
    const HWND app = Application().Handle();
    const HWND popup = ::GetLastActivePopup(app);
    if (popup && popup != app && ::IsWindowVisible(popup) && ::IsWindowEnabled(popup)) ::SetForegroundWindow(popup);
    if (OsdController.OsdExists()) OsdController.frmOsd->BringToTopmost();
    UsagePing.tmrMinutesTimer();
    LockMonitor.InstallHook(Handle());
  } else if (msg.message == WM_EXITINSTANCE) {
    // "/exit" from another process: the normal exit, without the question.
    handled = true;
    FCloseAllowed = true;
    Close();
  }
}

void TfrmMain::ApplyLanguage(const std::string& setting) {
  FLanguage = setting;
  UseLanguageSetting(setting);
  // The tray menu is made from its items each time it opens.
  miPopupSetup->Caption = Tr(T::MenuSettings);
  miPopupMoreSettings->Caption = Tr(T::MenuMoreSettings);
  miSwitch->Caption = Tr(T::MenuSwitch);
  miNumLock->Caption = Tr(T::NumLock);
  miCapsLock->Caption = Tr(T::CapsLock);
  miScrollLock->Caption = Tr(T::ScrollLock);
  miPopupAbout->Caption = Tr(T::MenuAbout);
  miPopupClose->Caption = Tr(T::MenuClose);
  // The window menu's copy of "About".
  if (const HMENU system = ::GetSystemMenu(Handle(), FALSE)) {
    std::wstring about = miPopupAbout->Caption;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = about.data();
    ::SetMenuItemInfoW(system, smiAbout.GetCommand(), FALSE, &info);
  }
  ApplyTexts();
  frmMoreSettings.ApplyTexts(setting);
  if (OsdController.OsdExists()) OsdController.frmOsd->LanguageChanged();
  UpdateLockButtons();
  UpdateOsd();
}

void TfrmMain::DpiChanged(UINT dpi, const RECT& suggested) {
  TForm::DpiChanged(dpi, suggested);
  // From the description again at the new scale, then the room the texts need.
  FitPlacesToTexts();
  UpdateLockButtons();
  // The taskbar may have changed its scale too.
  TrayIndicator.TaskbarChanged();
}

LRESULT TfrmMain::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_POWERBROADCAST:
    case WM_WTSSESSION_CHANGE:
      // Back from sleep, unlocked or reconnected: the locks are shown at once.
      LockMonitor.SessionMessage(message, wparam);
      return TForm::WndProc(message, wparam, lparam);
    case WM_DESTROY:
      LockMonitor.SessionNotification.Unregister();
      return TForm::WndProc(message, wparam, lparam);
    case WM_QUERYENDSESSION:
      // Windows may end the session at once: no question, no ping, no error box from now on.
      BeginSessionEnd();
      return 1;
    case WM_ENDSESSION:
      if (wparam)
        EndSession();
      else
        SessionEndCancelled();
      return 0;
    case WM_SETTINGCHANGE:
      // "ImmersiveColorSet": the light or dark theme was switched.
      if (lparam && std::wstring_view(reinterpret_cast<const wchar_t*>(lparam)) == L"ImmersiveColorSet")
        FollowTaskbarTheme();
      return TForm::WndProc(message, wparam, lparam);
    default:
      return TForm::WndProc(message, wparam, lparam);
  }
}

void TfrmMain::BeginSessionEnd() {
  if (!UsagePing.SessionEnding) FCloseAllowedBeforeSessionEnd = FCloseAllowed;
  UsagePing.SessionEnding = true;
  Application().SetSessionEnding(true);
  FWindowVisible = Visible();
  FCloseAllowed = true;
}

void TfrmMain::SessionEndCancelled() {
  // Another program refused the end: closing asks again and pings go out.
  if (!UsagePing.SessionEnding) return;
  UsagePing.SessionEnding = false;
  Application().SetSessionEnding(false);
  FCloseAllowed = FCloseAllowedBeforeSessionEnd;
}

void TfrmMain::EndSession() {
  // The session really ends (also when no query came first). Closing writes
  // the settings, so changes made since the window was last hidden are kept.
  // Nothing may wait for the user now: an error on the way out goes to the
  // debugger's output, and the program ends all the same.
  if (!UsagePing.SessionEnding) BeginSessionEnd();
  try {
    Close();
  } catch (const std::exception& error) {
    Application().HandleException(error);
    if (Application().MainForm == this) Application().Terminate();
  }
}

}  // namespace lumitrax
