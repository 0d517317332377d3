#pragma once
// The usage-ping component: turns a path and a query into one GET of the ping
// page and waits for its outcome while the GUI thread keeps handling messages.
// Every failure is silent: a ping only ever answers true or false.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/ping_wait.h"
#include "framework/window.h"

namespace lumitrax {

class THttpGetRequest;

// One request: created for a ping, freed when it is over.
class TPingNotifyBrowser : public TComponent {
 public:
  explicit TPingNotifyBrowser(WPARAM id);
  ~TPingNotifyBrowser() override;

  bool Destroying() const noexcept { return FDestroying; }
  bool Done() const noexcept { return FDone; }
  int32_t StatusCode() const noexcept { return FStatusCode; }
  // Sent and not yet answered.
  bool Busy() const;

 private:
  friend class TPingNotify;

  core::PingRequestState State() const;

  WPARAM FId;  // names the browser in completion notices and timers
  bool FDestroying = false;
  bool FDone = false;
  int32_t FStatusCode = 0;
  uint32_t FStartTick;
  uint32_t FTimeout = 0;
  uint32_t FDelay = 0;
  bool FNotifyDone = false;  // the download-complete handler is attached
  std::unique_ptr<THttpGetRequest> FRequest;
};

class TPingNotify : public TComponent {
 public:
  explicit TPingNotify(std::string url = {});
  ~TPingNotify() override;

  // The ping page: the site's root address followed by "/ping/".
  const std::string& URL() const noexcept { return FURL; }
  void SetURL(std::string url) { FURL = std::move(url); }

  // GET of URL/Path/?Query. Waiting: true once the answer came without error,
  // then messages are handled for Delay ms more. Timeout counts from the
  // request's creation. Not waiting: true at once; the request frees itself.
  virtual bool Ping(const std::string& path, const std::string& query, bool wait, uint32_t delay,
                    uint32_t timeout);
  // Waits, with the program's delay and timeout.
  virtual bool Ping(const std::string& path, const std::string& query);
  // The short form with every exception swallowed.
  void TryPing(const std::string& path, const std::string& query) noexcept;

  // The requests alive, oldest first.
  const std::vector<std::shared_ptr<TPingNotifyBrowser>>& Browsers() const noexcept { return FBrowsers; }

 protected:
  virtual std::weak_ptr<TPingNotifyBrowser> CreateBrowser();
  virtual void FreeBrowser(const std::weak_ptr<TPingNotifyBrowser>& browser);
  virtual bool WaitFor(const std::weak_ptr<TPingNotifyBrowser>& browser);
  // Whether the user chose to work offline; then nothing is sent.
  virtual bool Offline() const;

 private:
  class TNotifyWindow;

  // The navigate-error and progress notifications: the transport's error status,
  // and 408 once a request still busy has used up its time.
  static void UpdateStatus(TPingNotifyBrowser& browser);
  // The non-waiting form's completion: time up or answer in.
  void BrowserProgress(WPARAM id);
  void BrowserDownloadComplete(WPARAM id);
  std::shared_ptr<TPingNotifyBrowser> FindBrowser(WPARAM id) const;

  std::string FURL;
  std::vector<std::shared_ptr<TPingNotifyBrowser>> FBrowsers;
  std::unique_ptr<TNotifyWindow> FWindow;
  WPARAM FNextId = 1;
  // Expires with the component: a ping waiting in a nested message loop learns
  // that the component was destroyed meanwhile and touches nothing of it.
  std::shared_ptr<int> FAlive = std::make_shared<int>();
};

// The process's ping component, or null.
TPingNotify* PingNotify() noexcept;
// Creates the component unless it exists, then sets its URL; returns true.
bool InitPingNotify(const std::string& url);
// Destroys the component, cancelling requests still in progress; returns true.
bool DonePingNotify();
// Handles window messages as they arrive until duration ms have passed.
void ProcessMessagesFor(uint32_t duration);

}  // namespace lumitrax
