#pragma once
// Session changes (an unlocked session, a remote or console reconnect) reach a
// window only after it asked for them, and the request belongs to one window
// handle: a re-created window asks again, and the request is withdrawn before
// its window goes.
#include <windows.h>

namespace lumitrax {

class TSessionNotification {
 public:
  TSessionNotification() = default;
  TSessionNotification(const TSessionNotification&) = delete;
  TSessionNotification& operator=(const TSessionNotification&) = delete;
  ~TSessionNotification();

  // Asks for the session changes of this session for the window; a request
  // for another window is withdrawn first.
  void Register(HWND window);
  // Asks again when the last request failed (early in a logon the session
  // service may not answer yet).
  void Retry();
  void Unregister() noexcept;
  // The window that receives the changes, or null.
  HWND Window() const noexcept { return window_; }

 private:
  HWND wanted_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace lumitrax
