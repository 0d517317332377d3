#include "web/http_get_request.h"

#include <mutex>

#include "core/ping_policy.h"
#include "framework/boundary.h"
#include "framework/lock.h"
#include "web/internet_handles.h"

namespace lumitrax {

bool InternetOffline() {
  // The connected state, not InternetGetConnectedState's answer: that is false on
  // machines that reach the network only through a VPN, a proxy or the loopback.
  DWORD state = 0;
  DWORD size = sizeof(state);
  if (!::InternetQueryOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &state, &size)) return false;
  return core::UserWorksOffline(state);
}

// What WinINet's threads and the GUI thread share. WinINet holds its own
// reference through the request handle's context until it reports that the
// handle is closing, so the state outlives every callback.
struct THttpGetRequest::TShared {
  TLock mutex;
  bool busy = false;
  bool completed = false;
  int32_t status = 0;
  HWND notify = nullptr;
  UINT message = 0;
  WPARAM id = 0;

  // The first outcome counts. The notice is posted under the lock, so once
  // Detach has returned no notice can reach a window that is about to go.
  void Complete(int32_t result) {
    const std::lock_guard lock(mutex);
    if (completed) return;
    completed = true;
    busy = false;
    status = result;
    if (notify) ::PostMessageW(notify, message, id, 0);
  }

  void Detach() {
    const std::lock_guard lock(mutex);
    notify = nullptr;
  }
};

struct THttpGetRequest::THandles {
  // Declared in the order of creation: the request closes first.
  UniqueInternetSession session;
  UniqueInternetConnection connection;
  UniqueInternetRequest request;
};

namespace {

using SharedHolder = std::shared_ptr<THttpGetRequest::TShared>;

constexpr DWORD kTimeoutGraceMs = 1000;

constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;

// The outcome of an answered request: 0 for success, else the error status.
int32_t AnswerStatus(HINTERNET request) {
  DWORD code = 0;
  DWORD size = sizeof code;
  if (!::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr))
    return static_cast<int32_t>(::GetLastError());
  return code >= 400 ? static_cast<int32_t>(code) : 0;
}

int32_t ErrorStatus(DWORD error) {
  return static_cast<int32_t>(error != NO_ERROR ? error : ERROR_INTERNET_INTERNAL_ERROR);
}

// Runs on WinINet's threads. Only the request handle carries a context, so only
// its notifications arrive here.
void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info, DWORD /*length*/) {
  CallbackBoundary("the network callback", [&] {
    auto* holder = reinterpret_cast<SharedHolder*>(context);
    switch (status) {
      case INTERNET_STATUS_REQUEST_COMPLETE: {
        const auto* result = static_cast<const INTERNET_ASYNC_RESULT*>(info);
        (*holder)->Complete(result->dwResult ? AnswerStatus(handle) : ErrorStatus(result->dwError));
        break;
      }
      case INTERNET_STATUS_HANDLE_CLOSING:  // the last notification of the handle
        delete holder;
        break;
      default:
        break;
    }
  });
}

struct TAddress {
  std::wstring host;
  std::wstring object;  // path and query, exactly as given
  INTERNET_PORT port = 0;
  bool secure = false;
};

DWORD CrackAddress(const std::wstring& text, TAddress& address) {
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
  if (!::InternetCrackUrlW(text.c_str(), static_cast<DWORD>(text.size()), 0, &parts)) return ::GetLastError();
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
    return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
  address.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  if (parts.dwUrlPathLength) address.object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.dwExtraInfoLength) address.object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  address.port = parts.nPort;
  address.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return NO_ERROR;
}

}  // namespace

THttpGetRequest::THttpGetRequest() : shared_(std::make_shared<TShared>()), handles_(std::make_unique<THandles>()) {}

THttpGetRequest::~THttpGetRequest() {
  shared_->Detach();
  handles_.reset();
}

void THttpGetRequest::Send(const std::wstring& address, uint32_t timeout_ms, HWND notify, UINT message,
                           WPARAM id) {
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->busy = true;
    shared_->notify = notify;
    shared_->message = message;
    shared_->id = id;
  }
  TAddress target;
  if (const DWORD error = CrackAddress(address, target); error != NO_ERROR) {
    shared_->Complete(ErrorStatus(error));
    return;
  }
  handles_->session.reset(
      ::InternetOpenW(L"Lumitrax", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC));
  if (!handles_->session) {
    shared_->Complete(ErrorStatus(::GetLastError()));
    return;
  }
  // Set before any child handle exists: children inherit the callback.
  ::InternetSetStatusCallbackW(handles_->session.get(), StatusCallback);

  handles_->connection.reset(::InternetConnectW(handles_->session.get(), target.host.c_str(), target.port, nullptr,
                                                nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!handles_->connection) {
    shared_->Complete(ErrorStatus(::GetLastError()));
    return;
  }
  auto* holder = new SharedHolder(shared_);
  const DWORD flags = kRequestFlags | (target.secure ? INTERNET_FLAG_SECURE : 0);
  handles_->request.reset(::HttpOpenRequestW(handles_->connection.get(), L"GET", target.object.c_str(), nullptr,
                                             nullptr, nullptr, flags, reinterpret_cast<DWORD_PTR>(holder)));
  if (!handles_->request) {
    const DWORD error = ::GetLastError();
    delete holder;  // no handle, so no closing notice will free it
    shared_->Complete(ErrorStatus(error));
    return;
  }
  // WinINet's own limits lie a little beyond the caller's: the caller's time-out
  // decides the outcome, and a cancelled request still lets go of its connection
  // soon after the caller has given up on it.
  DWORD timeout = timeout_ms + kTimeoutGraceMs;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
    ::InternetSetOptionW(handles_->request.get(), option, &timeout, sizeof timeout);
  if (::HttpSendRequestW(handles_->request.get(), nullptr, 0, nullptr, 0)) {
    shared_->Complete(AnswerStatus(handles_->request.get()));
  } else if (const DWORD error = ::GetLastError(); error != ERROR_IO_PENDING) {
    shared_->Complete(ErrorStatus(error));
  }
}

bool THttpGetRequest::Busy() const {
  const std::lock_guard lock(shared_->mutex);
  return shared_->busy;
}

int32_t THttpGetRequest::Status() const {
  const std::lock_guard lock(shared_->mutex);
  return shared_->status;
}

}  // namespace lumitrax
