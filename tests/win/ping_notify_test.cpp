// The usage-ping component against a small HTTP server on 127.0.0.1 that runs
// on a thread of this test process: the request line that arrives, error
// answers, no answer at all, the messages handled while a ping waits, and the
// component going away while a request is still out.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <ios>
#include <string>
#include <vector>

#include "framework/timer.h"
#include "test_http_server.h"
#include "test_support.h"
#include "web/http_get_request.h"
#include "web/ping_notify.h"

namespace lumitrax {
namespace {

using testing::Pump;
using testing::RunUntil;

// Notes the status and state of every request as it is freed; can play offline.
class RecordingPingNotify : public TPingNotify {
 public:
  using TPingNotify::TPingNotify;

  struct Freed {
    int32_t status;
    bool done;
  };
  std::vector<Freed> freed;
  bool offline = false;

 protected:
  void FreeBrowser(const std::weak_ptr<TPingNotifyBrowser>& browser) override {
    if (const auto request = browser.lock(); request && !request->Destroying())
      freed.push_back({request->StatusCode(), request->Done()});
    TPingNotify::FreeBrowser(browser);
  }
  bool Offline() const override { return offline || TPingNotify::Offline(); }
};

constexpr char kQuery[] = "version=2.5.0.51&auto=On&beep=On&l1=1&c1=000000FF";

TEST(PingNotify, GetCarriesTheExactPathAndQueryAndSucceeds) {
  TestHttpServer server(TestHttpServer::Mode::Ok);
  RecordingPingNotify notify(server.Root() + "/ping/");
  EXPECT_TRUE(notify.Ping("stop", kQuery, true, 0, 5000));
  EXPECT_EQ(server.RequestLines(),
            std::vector<std::string>{"GET /ping/stop/?version=2.5.0.51&auto=On&beep=On&l1=1&c1=000000FF HTTP/1.1"});
  ASSERT_EQ(notify.freed.size(), 1u);
  EXPECT_EQ(notify.freed[0].status, 0);
  EXPECT_TRUE(notify.Browsers().empty());
}

TEST(PingNotify, ErrorAnswersAndRefusedConnectionsFailWithTheirStatus) {
  {
    TestHttpServer server(TestHttpServer::Mode::NotFound);
    RecordingPingNotify notify(server.Root() + "/ping/");
    EXPECT_FALSE(notify.Ping("about", kQuery, true, 0, 5000));
    EXPECT_EQ(server.RequestLines().size(), 1u);
    ASSERT_EQ(notify.freed.size(), 1u);
    EXPECT_EQ(notify.freed[0].status, 404);
  }
  // A port nobody listens on: the transport's error, not the time-out's 408.
  std::string root;
  {
    TestHttpServer closed(TestHttpServer::Mode::Ok);
    root = closed.Root();
  }
  RecordingPingNotify notify(root + "/ping/");
  EXPECT_FALSE(notify.Ping("about", kQuery, true, 0, 8000));
  ASSERT_EQ(notify.freed.size(), 1u);
  EXPECT_NE(notify.freed[0].status, 0);
  EXPECT_NE(notify.freed[0].status, core::PingTimeoutStatus);
}

TEST(PingNotify, NoAnswerFailsWith408AfterTheTimeoutWhileTimersKeepTicking) {
  TestHttpServer server(TestHttpServer::Mode::Silent);
  RecordingPingNotify notify(server.Root() + "/ping/");
  int ticks = 0;
  TTimer timer(20);
  timer.OnTimer = [&](TComponent&) { ++ticks; };
  const DWORD start = ::GetTickCount();
  EXPECT_FALSE(notify.Ping("running", kQuery, true, 0, 800));
  EXPECT_GE(::GetTickCount() - start, 800u) << "gave up before its time";
  EXPECT_GE(ticks, 1) << "no timer ticked while the ping waited";
  EXPECT_EQ(server.RequestLines().size(), 1u);
  ASSERT_EQ(notify.freed.size(), 1u);
  EXPECT_EQ(notify.freed[0].status, core::PingTimeoutStatus);
}

TEST(PingNotify, SuccessReturnsOnlyAfterTheDelayHasPassed) {
  TestHttpServer server(TestHttpServer::Mode::Ok);
  RecordingPingNotify notify(server.Root() + "/ping/");
  EXPECT_TRUE(notify.Ping("about", kQuery, true, 400, 5000));
  const DWORD returned = ::GetTickCount();
  ASSERT_NE(server.AnswerTick(), 0u);
  EXPECT_GE(returned - server.AnswerTick(), 400u);
}

TEST(PingNotify, OfflineSendsNothingAndFails) {
  TestHttpServer server(TestHttpServer::Mode::Ok);
  RecordingPingNotify notify(server.Root() + "/ping/");
  notify.offline = true;
  EXPECT_FALSE(notify.Ping("start", kQuery));
  Pump(300);
  EXPECT_TRUE(server.RequestLines().empty());
  EXPECT_EQ(notify.freed.size(), 1u);
  EXPECT_TRUE(notify.Browsers().empty());
}

TEST(PingNotify, NonWaitingFormFreesItsRequestWhenDoneOrTimedOut) {
  {
    TestHttpServer server(TestHttpServer::Mode::Ok);
    RecordingPingNotify notify(server.Root() + "/ping");
    EXPECT_TRUE(notify.Ping("openlink", "id=0", false, 0, 5000));
    EXPECT_EQ(notify.Browsers().size(), 1u);
    ASSERT_TRUE(RunUntil([&] { return notify.Browsers().empty(); }, 6000));
    EXPECT_EQ(server.RequestLines(), std::vector<std::string>{"GET /ping/openlink/?id=0 HTTP/1.1"});
    ASSERT_EQ(notify.freed.size(), 1u);
    EXPECT_EQ(notify.freed[0].status, 0);
    EXPECT_TRUE(notify.freed[0].done);
  }
  TestHttpServer server(TestHttpServer::Mode::Silent);
  RecordingPingNotify notify(server.Root() + "/ping/");
  EXPECT_TRUE(notify.Ping("openlink", "id=3", false, 0, 500));
  ASSERT_TRUE(RunUntil([&] { return notify.Browsers().empty(); }, 6000));
  ASSERT_EQ(notify.freed.size(), 1u);
  EXPECT_EQ(notify.freed[0].status, core::PingTimeoutStatus);
}

TEST(PingNotify, InitAndDoneManageTheOneComponent) {
  EXPECT_TRUE(InitPingNotify("http://first.example/ping/"));
  TPingNotify* const first = PingNotify();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(InitPingNotify("http://second.example/ping/"));
  EXPECT_EQ(PingNotify(), first);
  EXPECT_EQ(first->URL(), "http://second.example/ping/");
  EXPECT_TRUE(DonePingNotify());
  EXPECT_EQ(PingNotify(), nullptr);
  EXPECT_TRUE(DonePingNotify());
}

TEST(PingNotify, DoneWhileARequestIsOutCancelsIt) {
  // A request that frees itself, still waiting for its answer. Its connection is
  // let go at once on Windows; Wine holds it until WinINet's own limit, a second
  // after the request's time-out.
  {
    TestHttpServer server(TestHttpServer::Mode::Silent);
    InitPingNotify(server.Root() + "/ping/");
    EXPECT_TRUE(PingNotify()->Ping("stop", kQuery, false, 0, 1500));
    ASSERT_TRUE(RunUntil([&] { return !server.RequestLines().empty(); }, 5000));
    DonePingNotify();
    EXPECT_TRUE(RunUntil([&] { return server.ClientClosed(); }, 5000));
  }
  // A waiting ping whose component goes from a timer handler run by the wait:
  // the ping ends then, long before its time-out.
  TestHttpServer server(TestHttpServer::Mode::Silent);
  InitPingNotify(server.Root() + "/ping/");
  TTimer done(50);
  done.OnTimer = [&](TComponent&) {
    if (!server.RequestLines().empty()) DonePingNotify();
  };
  // Only the component's end can end the wait before its time-out, which is
  // long: reaching it is the fault.
  constexpr DWORD kTimeout = 60000;
  const DWORD start = ::GetTickCount();
  EXPECT_FALSE(PingNotify()->Ping("stop", kQuery, true, 0, kTimeout));
  EXPECT_LT(::GetTickCount() - start, kTimeout) << "the wait ran to its time-out";
  EXPECT_EQ(PingNotify(), nullptr);
}

TEST(InternetOffline, OnlyTheUsersChoiceCountsAndThisMachineIsOnline) {
  // The test machine has not chosen to work offline, so pings go out. Its
  // connection flags carry 0x10 (remote access installed, as on most machines),
  // the same number as the connected state's "disconnected by the user": read
  // from the wrong one of the two, every ping would stay home.
  DWORD flags = 0;
  ::InternetGetConnectedState(&flags, 0);
  EXPECT_FALSE(InternetOffline()) << "connection flags 0x" << std::hex << flags;
}

}  // namespace
}  // namespace lumitrax
