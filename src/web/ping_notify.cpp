#include "web/ping_notify.h"

#include <algorithm>

#include "core/ping_query.h"
#include "framework/application.h"
#include "framework/scope_exit.h"
#include "framework/text.h"
#include "web/http_get_request.h"

namespace lumitrax {
namespace {

// Posted by the transport when a request that frees itself has completed.
constexpr UINT kDownloadComplete = WM_APP + 1;
// Posted by the transport when a request that is waited for has completed: it
// only wakes the wait, which then looks at the request.
constexpr UINT kRequestAnswered = WM_APP + 2;

std::unique_ptr<TPingNotify>& Instance() {
  static std::unique_ptr<TPingNotify> instance;
  return instance;
}

}  // namespace

// Receives, on the GUI thread, the completion notices and time-outs of the
// requests that free themselves.
class TPingNotify::TNotifyWindow : public TWindow {
 public:
  explicit TNotifyWindow(TPingNotify& owner) : owner_(owner) {}

 protected:
  void CreateParams(TCreateParams& params) override {
    TWindow::CreateParams(params);
    params.class_name = L"TPingNotifyWindow";
    params.style = WS_POPUP;
    params.parent = HWND_MESSAGE;
    params.x = params.y = params.width = params.height = 0;
  }
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case kDownloadComplete:
        owner_.BrowserDownloadComplete(wparam);
        return 0;
      case WM_TIMER:
        owner_.BrowserProgress(wparam);
        return 0;
      case kRequestAnswered:
        return 0;
      default:
        return TWindow::WndProc(message, wparam, lparam);
    }
  }

 private:
  TPingNotify& owner_;
};

TPingNotifyBrowser::TPingNotifyBrowser(WPARAM id)
    : FId(id), FStartTick(::GetTickCount()), FRequest(std::make_unique<THttpGetRequest>()) {}

TPingNotifyBrowser::~TPingNotifyBrowser() {
  FDestroying = true;
  FRequest.reset();  // cancels a request still in progress
}

bool TPingNotifyBrowser::Busy() const { return FRequest->Busy(); }

core::PingRequestState TPingNotifyBrowser::State() const {
  core::PingRequestState state;
  state.Present = true;
  state.Busy = Busy();
  state.StatusCode = FStatusCode;
  state.StartTick = FStartTick;
  state.TimeoutMs = FTimeout;
  return state;
}

TPingNotify::TPingNotify(std::string url)
    : FURL(std::move(url)), FWindow(std::make_unique<TNotifyWindow>(*this)) {}

TPingNotify::~TPingNotify() {
  FAlive.reset();
  while (!FBrowsers.empty()) FreeBrowser(FBrowsers.back());
  FWindow.reset();
}

bool TPingNotify::Ping(const std::string& path, const std::string& query, bool wait, uint32_t delay,
                       uint32_t timeout) {
  const std::weak_ptr<int> alive = FAlive;
  const std::weak_ptr<TPingNotifyBrowser> browser = CreateBrowser();
  bool keep = false;
  // On every way out, exceptions included, the request goes, unless it frees
  // itself or the component went with it while we waited.
  const ScopeExit free_browser([&] {
    if (!keep && !alive.expired()) FreeBrowser(browser);
  });
  if (Offline()) return false;

  const std::wstring address = Widen(core::PingAddress(FURL, path, query));
  {
    const auto request = browser.lock();
    if (!request) return false;
    request->FDelay = delay;
    request->FTimeout = timeout;
    if (!wait) {
      keep = true;
      request->FNotifyDone = true;
      const HWND window = FWindow->Handle();
      const uint32_t elapsed = core::TickElapsed(request->FStartTick, ::GetTickCount());
      ::SetTimer(window, request->FId, timeout > elapsed ? timeout - elapsed : 0, nullptr);
      request->FRequest->Send(address, timeout, window, kDownloadComplete, request->FId);
      return true;
    }
    request->FRequest->Send(address, timeout, FWindow->Handle(), kRequestAnswered, request->FId);
  }
  // Not held while waiting: the browser must be free to go with the component.
  return WaitFor(browser);
}

bool TPingNotify::Ping(const std::string& path, const std::string& query) {
  return Ping(path, query, true, core::PingDelayMs, core::PingTimeoutMs);
}

void TPingNotify::TryPing(const std::string& path, const std::string& query) noexcept {
  try {
    Ping(path, query);
  } catch (...) {  // a ping fails silently
  }
}

std::weak_ptr<TPingNotifyBrowser> TPingNotify::CreateBrowser() {
  FBrowsers.push_back(std::make_shared<TPingNotifyBrowser>(FNextId++));
  return FBrowsers.back();
}

void TPingNotify::FreeBrowser(const std::weak_ptr<TPingNotifyBrowser>& browser) {
  const auto request = browser.lock();
  if (!request || request->FDestroying) return;
  if (request->FNotifyDone && FWindow) ::KillTimer(FWindow->Handle(), request->FId);
  std::erase(FBrowsers, request);
}

bool TPingNotify::WaitFor(const std::weak_ptr<TPingNotifyBrowser>& browser) {
  // Nothing of the component is touched here: a handler run by the message
  // processing below may destroy it, and with it the browser.
  for (;;) {
    core::PingRequestState state;
    state.Present = false;
    uint32_t delay = 0;
    if (const auto request = browser.lock(); request && !request->FDestroying) {
      UpdateStatus(*request);
      state = request->State();
      delay = request->FDelay;
    }
    switch (core::EvaluatePingWait(state, ::GetTickCount())) {
      case core::PingWaitResult::Failed:
        return false;
      case core::PingWaitResult::Completed:
        if (delay > 0) ProcessMessagesFor(delay);
        return true;
      case core::PingWaitResult::Waiting:
        break;
    }
    // Never a sleep: the wait wakes for every message (the answer's notice
    // among them), so the program stays as quick as when no ping waits.
    ::MsgWaitForMultipleObjectsEx(0, nullptr, core::PingPollMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    Application().ProcessMessages();
  }
}

bool TPingNotify::Offline() const { return InternetOffline(); }

void TPingNotify::UpdateStatus(TPingNotifyBrowser& browser) {
  if (const int32_t error = browser.FRequest->Status(); error != 0) browser.FStatusCode = error;
  if (browser.Busy()) browser.FStatusCode = core::StatusAfterProgress(browser.State(), ::GetTickCount());
}

void TPingNotify::BrowserProgress(WPARAM id) {
  if (const auto request = FindBrowser(id)) UpdateStatus(*request);
  BrowserDownloadComplete(id);
}

void TPingNotify::BrowserDownloadComplete(WPARAM id) {
  std::weak_ptr<TPingNotifyBrowser> browser;
  {
    const auto request = FindBrowser(id);
    if (!request || request->FDone) return;
    request->FDone = true;
    ::KillTimer(FWindow->Handle(), id);
    browser = request;
  }
  const std::weak_ptr<int> alive = FAlive;
  WaitFor(browser);
  if (!alive.expired()) FreeBrowser(browser);
}

std::shared_ptr<TPingNotifyBrowser> TPingNotify::FindBrowser(WPARAM id) const {
  const auto found = std::find_if(FBrowsers.begin(), FBrowsers.end(),
                                  [id](const auto& browser) { return browser->FId == id; });
  return found != FBrowsers.end() ? *found : nullptr;
}

TPingNotify* PingNotify() noexcept { return Instance().get(); }

bool InitPingNotify(const std::string& url) {
  if (!Instance()) Instance() = std::make_unique<TPingNotify>();
  Instance()->SetURL(url);
  return true;
}

bool DonePingNotify() {
  // The reference is cleared before the component goes.
  std::unique_ptr<TPingNotify> component = std::move(Instance());
  component.reset();
  return true;
}

void ProcessMessagesFor(uint32_t duration) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    Application().ProcessMessages();
    const uint32_t elapsed = core::TickElapsed(start, ::GetTickCount());
    if (elapsed >= duration) return;
    // Wakes for the next message rather than spinning.
    ::MsgWaitForMultipleObjectsEx(0, nullptr, duration - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

}  // namespace lumitrax
