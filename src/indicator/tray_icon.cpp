#include "indicator/tray_icon.h"

#include <algorithm>
#include <cwchar>
#include <exception>

#include "framework/application.h"
#include "framework/form.h"
#include "framework/text.h"
#include "framework/version_info.h"

namespace lumitrax {
namespace {

WORD ReadShellVersion() {
  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring version = GetFileVersionString(std::wstring(system) + L"\\shell32.dll");
  // "major.minor.build.revision"; read without the C library's scanf.
  wchar_t* end = nullptr;
  const unsigned long major = std::wcstoul(version.c_str(), &end, 10);
  if (end == version.c_str()) return 0;
  const unsigned long minor = *end == L'.' ? std::wcstoul(end + 1, nullptr, 10) : 0;
  return MAKEWORD(minor, major);
}

}  // namespace

WORD TTrayIcon::ShellVersion() {
  static const WORD version = ReadShellVersion();
  return version;
}

TTrayIcon::TShellNotifyIcon TTrayIcon::ShellNotifyIcon = &::Shell_NotifyIconW;

UINT TTrayIcon::TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

TTrayIcon::TTrayIcon(TWindow& owner) : owner_(&owner) {
  Name = L"TrayIcon";
  TaskbarCreatedMessage();
  Handle();
  tmrRetryAdd.Name = L"tmrRetryAdd";
  tmrRetryAdd.OnTimer = [this](TComponent&) { tmrRetryAddTimer(); };
  // Minimising the application hides it to the tray: the icon's own hook on
  // the application window sees the message before the window does.
  app_hook_.OnMessageBefore = [this](TCustomWndProcHook&, THookMessage& msg, bool&) {
    if (msg.Msg == WM_SIZE && msg.WParam == SIZE_MINIMIZED && MinimizeToTray) Minimize();
  };
  app_hook_.SetWinControl(&Application());
  app_hook_.SetActive(true);
}

TTrayIcon::~TTrayIcon() {
  // Only the icon leaves the notification area. No event and no restoring of
  // a window hidden to the tray: the owner may be half destroyed by now (the
  // main window destroys its parts before itself).
  try {
    if (visible_) RenewRegistration(false);
  } catch (const std::exception&) {
    // The icon goes with the process anyway.
  }
  visible_ = false;
  if (image_list_) image_list_->UnregisterChanges(*this);
}

void TTrayIcon::RenewRegistration(bool add_again) {
  flags_ &= ~static_cast<UINT>(NIF_ICON);
  DeleteFromTray();
  registered_ = false;
  tmrRetryAdd.SetEnabled(false);
  retry_interval_ = 0;
  if (!add_again) return;
  flags_ |= NIF_ICON;
  AddToTray();
}

bool TTrayIcon::AddToTray() {
  bool added = InsertToTray();
  // An add the shell timed out on may still have reached it (it is busy at
  // logon): then the icon is there and a modify succeeds.
  if (!added && has_data_) added = NotifyIcon(NIM_MODIFY);
  registered_ = added;
  if (!added) {
    ScheduleRetry();
    return false;
  }
  tmrRetryAdd.SetEnabled(false);
  retry_interval_ = 0;
  // Asked after every add: the shell forgets the version with the icon. With
  // version 4 the keyboard reaches the icon (NIN_KEYSELECT, WM_CONTEXTMENU at
  // the icon); a shell that refuses it keeps sending the older callbacks.
  version4_ = false;
  if (HIBYTE(ShellVersion()) >= 6) {
    data_.uVersion = NOTIFYICON_VERSION_4;
    version4_ = NotifyIcon(NIM_SETVERSION);
  }
  return true;
}

void TTrayIcon::ScheduleRetry() {
  if (!visible_) return;
  retry_interval_ = retry_interval_ == 0 ? kRetryFirstMs : std::min(retry_interval_ * 2, kRetryMaxMs);
  tmrRetryAdd.SetInterval(retry_interval_);
  tmrRetryAdd.SetEnabled(true);
}

void TTrayIcon::tmrRetryAddTimer() {
  // Stopped here, so that a failing add that schedules the next retry
  // restarts the timer with the longer interval.
  tmrRetryAdd.SetEnabled(false);
  if (!visible_) {
    retry_interval_ = 0;
    return;
  }
  flags_ |= NIF_ICON;
  if (AddToTray() && OnShow) OnShow(*this);
}

void TTrayIcon::CreateParams(TCreateParams& params) {
  TWindow::CreateParams(params);
  // A top-level window, so that broadcasts such as "TaskbarCreated" reach it.
  params.class_name = L"TTrayIconWindow";
  params.style = WS_POPUP;
  params.ex_style = WS_EX_TOOLWINDOW;
  params.x = params.y = params.width = params.height = 0;
}

void TTrayIcon::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (visible)
    ShowIcon();
  else
    HideIcon();
}

void TTrayIcon::SetHint(const std::wstring& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  UpdateIcon();
}

void TTrayIcon::SetShowHint(bool show) {
  if (show == show_hint_) return;
  show_hint_ = show;
  UpdateIcon();
}

void TTrayIcon::SetImageList(TImageList* list) {
  if (image_list_) image_list_->UnregisterChanges(*this);
  image_list_ = list;
  if (image_list_) image_list_->RegisterChanges(*this);
  ReloadIcon();
}

void TTrayIcon::SetImageIndex(int index) {
  image_index_ = index;
  ReloadIcon();
}

void TTrayIcon::ImageListChanged(TImageList& /*list*/) { ReloadIcon(); }

void TTrayIcon::ImageListDestroyed(TImageList& /*list*/) {
  image_list_ = nullptr;
  ReloadIcon();
}

void TTrayIcon::ReloadIcon() {
  icon_.reset();
  if (image_list_ && image_index_ >= 0 && image_index_ < image_list_->Count())
    icon_ = image_list_->GetIcon(image_index_);
  UpdateIcon();
}

bool TTrayIcon::PrepareIconData() {
  const WORD version = ShellVersion();
  if (HIBYTE(version) < 4) return false;
  data_ = NOTIFYICONDATAW{};
  size_t tip_length = 127;
  if (HIBYTE(version) < 5) {
    data_.cbSize = NOTIFYICONDATAW_V1_SIZE;
    tip_length = 63;
  } else if (HIBYTE(version) < 6) {
    data_.cbSize = NOTIFYICONDATAW_V2_SIZE;
  } else {
    data_.cbSize = NOTIFYICONDATAW_V3_SIZE;
  }
  data_.hWnd = Handle();
  data_.uID = IconID;
  // NIF_SHOWTIP: with version 4 the shell shows the standard tip only when asked.
  data_.uFlags = flags_ | (HIBYTE(version) >= 6 ? NIF_SHOWTIP : 0u);
  data_.uCallbackMessage = WM_TRAYNOTIFY;
  data_.hIcon = icon_.get();
  if (show_hint_) {
    const size_t length = std::min(hint_.size(), tip_length);
    std::copy_n(hint_.c_str(), length, data_.szTip);
    data_.szTip[length] = L'\0';
  }
  has_data_ = true;
  return true;
}

bool TTrayIcon::NotifyIcon(DWORD message) {
  if (!has_data_) return false;
  return ShellNotifyIcon(message, &data_) != FALSE;
}

bool TTrayIcon::UpdateIcon() {
  if (!PrepareIconData()) return false;
  if (NotifyIcon(NIM_MODIFY)) return true;
  // A shown icon the shell does not know (it lost it, or never took it) is
  // added again, unless a retry is already due.
  if (!visible_ || tmrRetryAdd.Enabled()) return false;
  return AddToTray();
}

bool TTrayIcon::InsertToTray() {
  try {
    return PrepareIconData() && NotifyIcon(NIM_ADD);
  } catch (const std::exception&) {
    throw ETrayIcon(Narrow(Name) + ".InsertToTray failed");
  }
}

bool TTrayIcon::DeleteFromTray() {
  try {
    return PrepareIconData() && NotifyIcon(NIM_DELETE);
  } catch (const std::exception&) {
    throw ETrayIcon(Narrow(Name) + ".DeleteFromTray failed");
  }
}

void TTrayIcon::ShowIcon() {
  flags_ |= NIF_ICON;
  retry_interval_ = 0;
  if (AddToTray()) {
    visible_ = true;
    if (OnShow) OnShow(*this);
  }
}

void TTrayIcon::HideIcon() {
  flags_ &= ~static_cast<UINT>(NIF_ICON);
  tmrRetryAdd.SetEnabled(false);
  retry_interval_ = 0;
  if (!DeleteFromTray()) return;
  registered_ = false;
  visible_ = false;
  if (OnHide) OnHide(*this);
  if (MinimizeToTray) RestoreFromTray();
}

void TTrayIcon::RestoreFromTray() {
  if (!app_hidden_) return;
  ::ShowWindow(Application().Handle(), SW_SHOWNORMAL);
  if (Application().MainForm) Application().MainForm->Show();
  app_hidden_ = false;
}

void TTrayIcon::HideToTray() {
  const HWND app = Application().Handle();
  TForm* main = Application().MainForm;
  app_hidden_ = app_hidden_ || !::IsWindowVisible(app) || (main && !main->Visible());
  if (::IsWindowVisible(app)) ::ShowWindow(app, SW_HIDE);
  if (main) main->Hide();
}

void TTrayIcon::PopupAtCursor() {
  if (!PopupMenu) return;
  POINT at{};
  ::GetCursorPos(&at);
  PopupAt(at);
}

void TTrayIcon::PopupAt(POINT at) {
  if (!PopupMenu) return;
  Application().ProcessMessages();
  const HWND owner = owner_->Handle();
  ::SetForegroundWindow(owner);
  PopupMenu->Popup(owner, at.x, at.y);
  ::PostMessageW(owner, WM_NULL, 0, 0);
  if (OnPopupMenu) OnPopupMenu(*this);
}

void TTrayIcon::MouseMove(POINT at) {
  if (OnMouseMove) OnMouseMove(*this, TMouseButton::Left, at);
}

void TTrayIcon::MouseDown(TMouseButton button, POINT at) {
  if (OnMouseDown) OnMouseDown(*this, button, at);
}

void TTrayIcon::MouseUp(TMouseButton button, POINT at) {
  ::SetForegroundWindow(owner_->Handle());
  if (OnMouseUp) OnMouseUp(*this, button, at);
}

void TTrayIcon::Click() {
  if (OnClick) OnClick(*this);
}

void TTrayIcon::DblClick() {
  if (PopupMenu && !PopupByLeft) {
    for (size_t i = 0; i < PopupMenu->Items.Count(); ++i) {
      TMenuItem& item = PopupMenu->Items[i];
      if (!item.Default) continue;
      item.Click();
      if (OnDblClick) OnDblClick(*this);
      ::SetForegroundWindow(owner_->Handle());
      return;
    }
  }
  if (MinimizeToTray) {
    if (::IsWindowVisible(owner_->Handle()))
      HideToTray();
    else
      RestoreFromTray();
  }
  if (OnDblClick) OnDblClick(*this);
}

void TTrayIcon::Minimize() {
  HideToTray();
  SetVisible(true);
  if (OnMinimize) OnMinimize(*this);
}

bool TTrayIcon::TrayNotify(UINT event, POINT at) {
  if (event != WM_MOUSEMOVE && event != NIN_SELECT) select_follows_release_ = false;
  // What a left click does, for the keyboard's selection of the icon.
  auto select = [&] {
    MouseUp(TMouseButton::Left, at);
    Click();
    if (PopupByLeft) PopupAt(at);
  };
  switch (event) {
    case WM_MOUSEMOVE:
      MouseMove(at);
      break;
    case WM_LBUTTONDOWN:
      MouseDown(TMouseButton::Left, at);
      click_pending_ = true;
      break;
    case WM_LBUTTONUP:
      MouseUp(TMouseButton::Left, at);
      if (click_pending_) Click();
      if (PopupByLeft) PopupAt(at);
      click_pending_ = false;
      select_follows_release_ = version4_;
      break;
    case WM_LBUTTONDBLCLK:
      DblClick();
      break;
    case WM_RBUTTONDOWN:
      MouseDown(TMouseButton::Right, at);
      break;
    case WM_RBUTTONUP:
      MouseUp(TMouseButton::Right, at);
      // A version-4 shell follows the release with WM_CONTEXTMENU.
      if (!version4_) PopupAt(at);
      break;
    case WM_MBUTTONDOWN:
      MouseDown(TMouseButton::Middle, at);
      break;
    case WM_MBUTTONUP:
      MouseUp(TMouseButton::Middle, at);
      break;
    case NIN_SELECT:
      // After a left click it only repeats the click; else it is Enter on
      // the icon the mouse selected.
      if (select_follows_release_)
        select_follows_release_ = false;
      else if (version4_)
        select();
      break;
    case NIN_KEYSELECT:
      if (version4_) select();
      break;
    case WM_CONTEXTMENU:
      // Shift+F10, the menu key or a right click: the menu at the icon.
      if (version4_) PopupAt(at);
      break;
    case NIN_BALLOONUSERCLICK:
      if (OnBalloonClick) OnBalloonClick(*this);
      break;
    case NIN_BALLOONTIMEOUT:
      if (OnBalloonTimeout) OnBalloonTimeout(*this);
      break;
    default:
      return false;
  }
  return true;
}

LRESULT TTrayIcon::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TRAYNOTIFY) {
    if (!Enabled) return 0;
    POINT anchor{};
    UINT event = 0;
    if (version4_) {
      // The event in the low word (the icon's id in the high word), the
      // icon's anchor in screen coordinates in wParam.
      event = LOWORD(lparam);
      anchor = POINT{static_cast<short>(LOWORD(wparam)), static_cast<short>(HIWORD(wparam))};
    } else {
      event = static_cast<UINT>(lparam);
      ::GetCursorPos(&anchor);
    }
    if (!TrayNotify(event, anchor)) return TWindow::WndProc(message, wparam, lparam);
    return 0;
  }
  if (message == WM_QUERYENDSESSION) return 1;
  if (message == TaskbarCreatedMessage()) {
    // The taskbar was re-created: the icon comes back with the same image and
    // tip. Only the registration is renewed, not hidden and shown the ordinary
    // way: hiding restores a window minimised to the tray, and a restarting
    // taskbar is no request of the user to see the settings window. A delete
    // the new taskbar refuses (it never knew the icon) changes nothing.
    if (visible_) RenewRegistration(true);
  }
  if (message == TaskbarCreatedMessage() || message == WM_SETTINGCHANGE || message == WM_DPICHANGED ||
      message == WM_DISPLAYCHANGE) {
    if (OnTaskbarChange) OnTaskbarChange(*this);
  }
  return TWindow::WndProc(message, wparam, lparam);
}

}  // namespace lumitrax
