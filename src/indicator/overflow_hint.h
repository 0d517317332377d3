#pragma once
// Windows 11 puts a new notification-area icon into the overflow flyout, where
// a lock indicator is no use. On the first run there, one balloon on the icon
// says where it is and how to keep it on the taskbar; clicking it opens the
// taskbar's settings page. Shown once per user; only documented means (a
// balloon, a settings page), never the shell's own records of the icons.
#include <windows.h>

#include <functional>
#include <string>

#include "framework/language.h"
#include "indicator/tray_icon.h"

namespace lumitrax {

// The settings page and the value that remembers the hint, under the
// program's key. The hint's texts are OverflowHintTitle and OverflowHintText
// of the language in use.
inline constexpr wchar_t kTaskbarSettingsPage[] = L"ms-settings:taskbar";
inline constexpr char kOverflowHintShownValue[] = "OverflowHintShown";
// The first build of Windows 11.
inline constexpr DWORD kWindows11Build = 22000;

class TOverflowHint {
 public:
  explicit TOverflowHint(TTrayIcon& tray);

  // Shows the hint when it is due: the icon is in place, Windows is 11 or
  // later, and the value under `key` (a path under HKEY_CURRENT_USER) does not
  // say it was shown. Marks it shown once the shell took the balloon. Registry
  // errors raise as the settings' do.
  void ShowIfDue(const std::string& key);

  // Opens the settings page; ShellExecute unless tests replace it.
  std::function<void(const std::wstring& address)> OpenAddress;

 private:
  TTrayIcon* tray_;
};

}  // namespace lumitrax
