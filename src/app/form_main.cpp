#include "app/form_main.h"

#include <psapi.h>

#include <random>

#include "app/exit_request.h"
#include "core/links.h"
#include "core/ping_policy.h"
#include "framework/application.h"
#include "framework/message_dialog.h"
#include "framework/version_info.h"
#include "osd/form_osd.h"
#include "web/ping_notify.h"
#include "indicator/keyboard_hook.h"
#include "indicator/lock_state.h"

namespace lumitrax {

core::RandomBelow TfrmMain::RandomBelow() {
  // Seeded once per run; shared by everything that draws a random number.
  static std::mt19937 generator(std::random_device{}());
  return [](uint32_t bound) { return bound ? std::uniform_int_distribution<uint32_t>(0, bound - 1)(generator) : 0u; };
}

TfrmMain::TfrmMain() {
  // The lock states at start count as no change.
  for (int kind = 1; kind <= 3; ++kind) FLockStates[kind - 1] = GetLockState(kind);
  CreateComponents();
  // The application window loses its taskbar button for good; the settings
  // window is owned by it and so never gets one either.
  Application().SetHidden(true);
  Application().OnMessage = [this](MSG& msg, bool& handled) { OnMessage(msg, handled); };
  chbAutoRun.OnClick = [this](TComponent& sender) { chbAutoRunClick(sender); };
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
  FormDestroy();
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
  ::AdjustWindowRectExForDpi(&frame, params.style, FALSE, params.ex_style, dpi);
  params.x = params.y = 0;
  params.width = frame.right - frame.left;
  params.height = frame.bottom - frame.top;
}

void TfrmMain::CreateWnd() {
  TForm::CreateWnd();
  // The hook always posts to the current handle, also after a re-creation.
  SetKeyboardHookTarget(Handle());
}

void TfrmMain::CreateComponents() {
  Name = L"frmMain";
  SetFont(L"Arial", 12);
  KeyPreview = true;
  OnShow = [this](TComponent&) { FormShow(); };
  OnHide = [this](TComponent&) { FormHide(); };
  OnCloseQuery = [this](TComponent&, bool& can_close) { FormCloseQuery(can_close); };
  OnClose = [this](TComponent&, TCloseAction& action) { FormClose(action); };
  OnKeyDown = [this](TComponent&, WORD& key, TShiftState shift) { FormKeyDown(key, shift); };

  tmrRunOnce.OnTimer = [this](TComponent&) { tmrRunOnceTimer(); };
  tmrMinutes.OnTimer = [this](TComponent&) { tmrMinutesTimer(); };
  tmrSwitchGuard.OnTimer = [this](TComponent&) { tmrSwitchGuardTimer(); };
  tmrSwitched.OnTimer = [this](TComponent&) { tmrSwitchedTimer(); };

  // The tray menu.
  auto switch_lock = [this](TComponent& sender) { SwitchLockClick(sender); };
  miPopupSetup = &pmPopup.Items.Add(L"Settings");
  miPopupSetup->Default = true;
  miPopupSetup->OnClick = [this](TComponent&) { actSetupExecute(); };
  miSwitch = &pmPopup.Items.Add(L"Switch");
  miNumLock = &miSwitch->Add(L"Num Lock", 1);
  miCapsLock = &miSwitch->Add(L"Caps Lock", 2);
  miScrollLock = &miSwitch->Add(L"Scroll Lock", 3);
  for (TMenuItem* item : {miNumLock, miCapsLock, miScrollLock}) item->OnClick = switch_lock;
  miPopupAbout = &pmPopup.Items.Add(L"About");
  miPopupAbout->OnClick = [this](TComponent&) { actAboutExecute(); };
  miPopup1 = &pmPopup.Items.Add(L"-");
  miPopupClose = &pmPopup.Items.Add(L"Close");
  miPopupClose->OnClick = [this](TComponent&) { actCloseExecute(); };
  pmPopup.OnPopup = [this](TComponent&) { UpdateSwitchMenuChecks(); };

  imgsIcons.Name = L"imgsIcons";
  TrayIcon.MinimizeToTray = true;
  TrayIcon.PopupMenu = &pmPopup;
  TrayIcon.SetImageList(&imgsIcons);
  TrayIcon.OnClick = [this](TComponent&) { TrayIconClick(); };

  tmrAnimation.OnTimer = [this](TComponent&) { tmrAnimationTimer(); };

  CreateControls();
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
  FTransparentColor = 0xFF00FF;
  FRegRoot = HKEY_CURRENT_USER;
  FRegKey = L"\\Software\\MOVRANIK\\Lumitrax";
  ::SetWindowTextW(Handle(), Application().Title().c_str());
  // The tip is set once: the title and the program's version.
  TrayIcon.SetHint(Application().Title() + L" (" + GetFileVersionString(GetModulePath()) + L")");
  TrayIcon.SetVisible(true);
  ComposeTrayIcons();
  pnTrayIcon.DoubleBuffered = true;

  tmrMinutes.SetInterval(core::MinutesTimerInterval(RandomBelow()));
  tmrMinutes.SetEnabled(true);
  UseWindowsVersionDefaults();

  InitPingNotify(core::PingBaseUrl(core::DefaultLinkRoots().ProductSite));
  InstallKeyboardHook(Handle());
  ApplySettings();
}

void TfrmMain::ApplySettings() {
  if (!FSettingsPending) return;
  FSettingsPending = false;
  LoadSettings();
  chbAutoRunClick(chbAutoRun);
  grpOsdCheckBoxClick(grpOsd);
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
    RemoveKeyboardHook();
    InstallKeyboardHook(Handle());
  }
  pnTrayIcon.SetColor(GetTrayAreaColor(::GetSysColor(COLOR_BTNFACE)));
  tmrAnimation.SetEnabled(true);
  UpdateLockButtons();
  UpdateOsd();
  FWindowVisible = true;
  TrimWorkingSet();
}

void TfrmMain::FormHide() {
  tmrAnimation.SetEnabled(false);
  UpdateOsd();
  TrimWorkingSet();
}

void TfrmMain::actSetupExecute() {
  Show();
  BringToFront();
}

void TfrmMain::FormCloseQuery(bool& can_close) {
  if (FCloseAllowed || SessionEnding) {
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

void TfrmMain::FormDestroy() {
  DestroyOsd();
  RemoveKeyboardHook();
  DonePingNotify();
}

void TfrmMain::FormKeyDown(WORD& key, TShiftState /*shift*/) {
  if (Visible() && key == VK_ESCAPE) Close();
}

void TfrmMain::actCloseExecute() {
  if (FCloseAsking) return;
  FCloseAsking = true;
  DisableTrayMenu(false);
  struct Restore {
    TfrmMain* form;
    ~Restore() {
      form->EnableTrayMenu();
      form->FCloseAsking = false;
    }
  } restore{this};

  const std::wstring& title = Application().Title();
  MessageDialogParams params;
  params.caption = title;
  params.icon = Application().Icon();
  params.text = L"Do you really want to close \"" + title + L"\" program and disable all its features?";
  params.buttons = {L"&Yes", L"&No"};
  params.default_button = 1;
  params.cancel_button = 1;
  params.centre_over = Handle();
  if (MessageDialog(params) == 0) {
    FCloseAllowed = true;
    Close();
  }
}

void TfrmMain::DisableTrayMenu(bool include_close) {
  miPopupSetup->Enabled = false;
  miPopupAbout->Enabled = false;
  if (include_close) miPopupClose->Enabled = false;
}

void TfrmMain::EnableTrayMenu() {
  miPopupSetup->Enabled = true;
  miPopupAbout->Enabled = true;
  miPopupClose->Enabled = true;
}

void TfrmMain::TrimWorkingSet() {
  ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void TfrmMain::OnMessage(MSG& msg, bool& handled) {
  if (msg.message == WM_LOCKKEY) {
    handled = true;
    tmrSwitched.SetEnabled(true);
  } else if (msg.message == WM_ACTIVATEINSTANCE) {
    if (miPopupSetup->Enabled) miPopupSetup->Click();
    const HWND app = Application().Handle();
    const HWND popup = ::GetLastActivePopup(app);
    if (popup && popup != app && ::IsWindowVisible(popup) && ::IsWindowEnabled(popup)) ::SetForegroundWindow(popup);
    if (OsdExists()) frmOsd->BringToTopmost();
    tmrMinutesTimer();
  } else if (msg.message == WM_EXITINSTANCE) {
    // "/exit" from another process: the normal exit, without the question.
    handled = true;
    FCloseAllowed = true;
    Close();
  }
}

LRESULT TfrmMain::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      // Windows may end the session at once: no question, no ping from now on.
      SessionEnding = true;
      FWindowVisible = Visible();
      FCloseAllowed = true;
      return 1;
    case WM_ENDSESSION:
      // The session really ends: close now, so the settings are written.
      if (wparam) Close();
      return 0;
    default:
      return TForm::WndProc(message, wparam, lparam);
  }
}

}  // namespace lumitrax
