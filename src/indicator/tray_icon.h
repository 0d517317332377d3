#pragma once
// The notification-area icon: puts one icon into the taskbar's notification
// area, keeps it there (also after the taskbar was re-created), shows its tip,
// turns the shell's mouse callbacks into events and opens the tray menu.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "framework/handles.h"
#include "framework/image_list.h"
#include "framework/menu.h"
#include "framework/timer.h"
#include "framework/window.h"
#include "framework/wnd_proc_hook.h"

namespace lumitrax {

// The shell's callbacks arrive at the hidden window as this message.
constexpr UINT WM_TRAYNOTIFY = 1235;

enum class TMouseButton { Left, Right, Middle };
using TMouseEvent = std::function<void(TComponent& sender, TMouseButton button, POINT at)>;

// The component's own error: an add or delete request that failed with an exception.
class ETrayIcon : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TTrayIcon : public TWindow, private TImageListListener {
 public:
  // owner: the window brought to the foreground on a click and owning the menu.
  explicit TTrayIcon(TWindow& owner);
  ~TTrayIcon() override;

  bool Enabled = true;
  bool MinimizeToTray = false;
  bool PopupByLeft = false;
  UINT IconID = 0;
  TPopupMenu* PopupMenu = nullptr;

  bool Visible() const noexcept { return visible_; }
  void SetVisible(bool visible);
  const std::wstring& Hint() const noexcept { return hint_; }
  void SetHint(const std::wstring& hint);
  bool ShowHint() const noexcept { return show_hint_; }
  void SetShowHint(bool show);
  TImageList* ImageList() const noexcept { return image_list_; }
  void SetImageList(TImageList* list);
  int ImageIndex() const noexcept { return image_index_; }
  void SetImageIndex(int index);
  HICON Icon() const noexcept { return icon_.get(); }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseEvent OnMouseMove;
  TNotifyEvent OnPopupMenu;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnBalloonClick;
  TNotifyEvent OnBalloonTimeout;
  // The taskbar was re-created, or a setting, the display or a DPI changed:
  // the icon's image may want another size.
  TNotifyEvent OnTaskbarChange;

  // The record the shell was last given (tests read it).
  const NOTIFYICONDATAW& IconData() const noexcept { return data_; }
  // Whether the shell took the icon at the last request: false while an add
  // waits for its retry.
  bool Registered() const noexcept { return registered_; }
  // Whether the shell took NOTIFYICON_VERSION_4 for the icon: its callbacks
  // then carry the event in the low word of lParam and the anchor in wParam.
  bool Version4() const noexcept { return version4_; }
  // Retries a failed add, at growing intervals; runs only while one is due.
  TTimer tmrRetryAdd{0, false};
  // The first retry waits this long; each next one twice as long, up to kRetryMaxMs.
  static constexpr UINT kRetryFirstMs = 1000;
  static constexpr UINT kRetryMaxMs = 60000;
  // The shell call every request goes through; tests replace it to make the
  // shell refuse (as it does while the taskbar is not yet up at logon).
  using TShellNotifyIcon = BOOL(WINAPI*)(DWORD message, NOTIFYICONDATAW* data);
  static TShellNotifyIcon ShellNotifyIcon;
  // The major and minor version of shell32.dll, read once.
  static WORD ShellVersion();
  // The registered "TaskbarCreated" message.
  static UINT TaskbarCreatedMessage();

  void RestoreFromTray();
  void HideToTray();

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

  bool NotifyIcon(DWORD message);
  bool PrepareIconData();
  bool UpdateIcon();
  void ShowIcon();
  void HideIcon();
  void PopupAtCursor();
  // Opens the menu at a point the shell gave (the icon's anchor).
  void PopupAt(POINT at);

  virtual void MouseMove(POINT at);
  virtual void MouseDown(TMouseButton button, POINT at);
  virtual void MouseUp(TMouseButton button, POINT at);
  virtual void Click();
  virtual void DblClick();
  virtual void Minimize();

 private:
  void ImageListChanged(TImageList& list) override;
  void ImageListDestroyed(TImageList& list) override;
  void ReloadIcon();
  bool InsertToTray();
  bool DeleteFromTray();
  // Deletes the icon from the notification area and, when asked, adds it
  // again; raises no event and restores no window.
  void RenewRegistration(bool add_again);
  // Adds the icon; on success asks for NOTIFYICON_VERSION_4 and stops the
  // retries, on failure schedules the next retry. The result of the add.
  bool AddToTray();
  void ScheduleRetry();
  void tmrRetryAddTimer();
  // The shell's callback, in either version's form.
  // True when the event was handled.
  bool TrayNotify(UINT event, POINT anchor);

  TWindow* owner_;
  bool visible_ = false;
  bool show_hint_ = true;
  bool click_pending_ = false;
  bool app_hidden_ = false;
  bool has_data_ = false;
  bool registered_ = false;
  bool version4_ = false;
  // A version-4 shell follows every left-button release with NIN_SELECT; the
  // release already was the click.
  bool select_follows_release_ = false;
  UINT retry_interval_ = 0;
  std::wstring hint_;
  TImageList* image_list_ = nullptr;
  int image_index_ = 0;
  UniqueIcon icon_;
  UINT flags_ = NIF_MESSAGE | NIF_TIP;
  NOTIFYICONDATAW data_{};
  // Sits on the application window for minimise-to-tray.
  TWndProcHook app_hook_{nullptr};
};

}  // namespace lumitrax
