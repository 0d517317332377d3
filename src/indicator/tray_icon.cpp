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

UINT TTrayIcon::TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

TTrayIcon::TTrayIcon(TWindow& owner) : owner_(&owner) {
  Name = L"TrayIcon";
  TaskbarCreatedMessage();
  Handle();
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
  if (!add_again) return;
  flags_ |= NIF_ICON;
  InsertToTray();
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
  data_.uFlags = flags_;
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
  return ::Shell_NotifyIconW(message, &data_) != FALSE;
}

bool TTrayIcon::UpdateIcon() { return PrepareIconData() && NotifyIcon(NIM_MODIFY); }

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
  if (InsertToTray()) {
    visible_ = true;
    if (OnShow) OnShow(*this);
  }
}

void TTrayIcon::HideIcon() {
  flags_ &= ~static_cast<UINT>(NIF_ICON);
  if (!DeleteFromTray()) return;
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

LRESULT TTrayIcon::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TRAYNOTIFY) {
    if (!Enabled) return 0;
    POINT at{};
    ::GetCursorPos(&at);
    switch (static_cast<UINT>(lparam)) {
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
        if (PopupByLeft) PopupAtCursor();
        click_pending_ = false;
        break;
      case WM_LBUTTONDBLCLK:
        DblClick();
        break;
      case WM_RBUTTONDOWN:
        MouseDown(TMouseButton::Right, at);
        break;
      case WM_RBUTTONUP:
        MouseUp(TMouseButton::Right, at);
        PopupAtCursor();
        break;
      case WM_MBUTTONDOWN:
        MouseDown(TMouseButton::Middle, at);
        break;
      case WM_MBUTTONUP:
        MouseUp(TMouseButton::Middle, at);
        break;
      default:
        return TWindow::WndProc(message, wparam, lparam);
    }
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
