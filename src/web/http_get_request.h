#pragma once
// One HTTP GET of an address, run asynchronously by WinINet: no cache is read or
// written, no cookies, no user interface. WinINet works on its own threads; they
// touch only the request's shared state and post one completion notice, so the
// GUI thread keeps handling its messages and owns every window.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace lumitrax {

// Whether the user chose to work offline (a lost connection is not "offline").
bool InternetOffline();

class THttpGetRequest {
 public:
  THttpGetRequest();
  THttpGetRequest(const THttpGetRequest&) = delete;
  THttpGetRequest& operator=(const THttpGetRequest&) = delete;
  // Cancels a request still in progress; no notice is posted after this.
  ~THttpGetRequest();

  // Starts the request (once). WinINet gives up on connecting, sending and
  // receiving a second after timeout_ms each. When notify is a window, message is posted
  // to it with wparam = id once the request has completed, successfully or not.
  void Send(const std::wstring& address, uint32_t timeout_ms, HWND notify, UINT message, WPARAM id);

  // Sent and not yet completed.
  bool Busy() const;
  // 0 while busy and after a successful answer; the HTTP status of an error
  // answer (400 and above); a WinINet error code when no answer came.
  int32_t Status() const;

 // Defined in the source file; public only so WinINet's callback can reach it.
  struct TShared;

 private:
  struct THandles;
  std::shared_ptr<TShared> shared_;
  std::unique_ptr<THandles> handles_;
};

}  // namespace lumitrax
