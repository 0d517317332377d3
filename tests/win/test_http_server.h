#pragma once
// A small HTTP server on 127.0.0.1 that runs on a thread of the test process.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumitrax {

// Serves one connection at a time. It records each request line and the tick of
// its answer; Silent keeps the connection open without a word until the client
// closes it. The thread gives up after a fixed time whatever happens.
class TestHttpServer {
 public:
  enum class Mode { Ok, NotFound, Silent };

  // port 0: any free port.
  explicit TestHttpServer(Mode mode, unsigned short port = 0) : mode_(mode) {
    WSADATA data{};
    ::WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    // A fixed port is bound again by the next test while the last one's
    // connections still linger.
    const BOOL reuse = TRUE;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 4);
    int length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }

  ~TestHttpServer() {
    stop_ = true;
    thread_.join();
    ::closesocket(listener_);
    ::WSACleanup();
  }

  std::string Root() const { return "http://127.0.0.1:" + std::to_string(port_); }

  std::vector<std::string> RequestLines() const {
    const std::lock_guard lock(mutex_);
    return lines_;
  }
  DWORD AnswerTick() const { return answer_tick_; }
  // The client closed a connection the server had kept open.
  bool ClientClosed() const { return client_closed_; }

 private:
  static constexpr DWORD kLifetimeMs = 180000;  // a safety net: the destructor ends it

  bool Readable(SOCKET socket) const {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval wait{0, 20000};
    return ::select(0, &set, nullptr, nullptr, &wait) == 1;
  }

  bool TimeLeft(DWORD start) const { return !stop_ && ::GetTickCount() - start < kLifetimeMs; }

  void Serve() {
    const DWORD start = ::GetTickCount();
    while (TimeLeft(start)) {
      if (!Readable(listener_)) continue;
      const SOCKET client = ::accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      Handle(client, start);
      ::closesocket(client);
    }
  }

  void Handle(SOCKET client, DWORD start) {
    std::string received;
    char buffer[1024];
    while (received.find("\r\n\r\n") == std::string::npos && TimeLeft(start)) {
      if (!Readable(client)) continue;
      const int count = ::recv(client, buffer, sizeof buffer, 0);
      if (count <= 0) return;
      received.append(buffer, count);
    }
    {
      const std::lock_guard lock(mutex_);
      lines_.push_back(received.substr(0, received.find("\r\n")));
    }
    if (mode_ == Mode::Silent) {
      while (TimeLeft(start)) {
        if (Readable(client) && ::recv(client, buffer, sizeof buffer, 0) <= 0) {
          client_closed_ = true;
          return;
        }
      }
      return;
    }
    const std::string answer = mode_ == Mode::Ok
                                   ? "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok"
                                   : "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    ::send(client, answer.data(), static_cast<int>(answer.size()), 0);
    answer_tick_ = ::GetTickCount();
  }

  const Mode mode_;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  std::atomic<DWORD> answer_tick_{0};
  std::atomic<bool> client_closed_{false};
};

}  // namespace lumitrax
