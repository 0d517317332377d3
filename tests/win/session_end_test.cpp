// The end of the Windows session seen by a real main window in this process:
// another program cancelling the log-off, and a save that fails on the way out.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "app/form_main.h"
#include "core/ping_query.h"
#include "framework/application.h"
#include "test_http_server.h"
#include "test_support.h"
#include "user_registry.h"
#include "web/ping_notify.h"

namespace lumitrax {
namespace {

using testing::RunUntil;

class SessionEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TfrmMain>();
    Application().OnException = [this](const std::exception&) { ++errors_; };
  }
  void TearDown() override {
    form_.reset();
    Application().OnException = nullptr;
  }
  TfrmMain& form() { return *form_; }
  LRESULT Query() { return ::SendMessageW(form().Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF); }
  void End(bool really) { ::SendMessageW(form().Handle(), WM_ENDSESSION, really, ENDSESSION_LOGOFF); }

  std::unique_ptr<TfrmMain> form_;
  int errors_ = 0;
};

TEST_F(SessionEnd, ALogOffCancelledByAnotherProgramLeavesTheClosingModeAndPingsGoOutAgain) {
  TestHttpServer server(TestHttpServer::Mode::Ok);
  InitPingNotify(core::PingBaseUrl(server.Root()));
  form().UsagePing.StartPingPending = false;
  ASSERT_TRUE(form().Visible());

  ASSERT_EQ(Query(), 1);
  ASSERT_TRUE(form().CloseAllowed());
  End(false);
  EXPECT_FALSE(form().UsagePing.SessionEnding);
  EXPECT_FALSE(form().CloseAllowed());
  EXPECT_FALSE(Application().SessionEnding()) << "errors would go unseen for the rest of the run";

  // Escape and the close box hide the window again, and the program runs on.
  EXPECT_FALSE(form().CloseQuery());
  EXPECT_FALSE(form().Visible());
  EXPECT_FALSE(Application().Terminated());
  EXPECT_TRUE(form().SendPing(L"openlink", L"id=3"));
  ASSERT_TRUE(RunUntil([&] { return !server.RequestLines().empty(); }, 3000));
  EXPECT_EQ(server.RequestLines()[0].rfind("GET /ping/openlink/", 0), 0u);
}

TEST_F(SessionEnd, TheEndClosesWithoutAStopPingWhileAPingCouldGoOut) {
  TestHttpServer server(TestHttpServer::Mode::Ok);
  InitPingNotify(core::PingBaseUrl(server.Root()));
  form().UsagePing.StartPingPending = false;
  // A ping goes out now: the gates are open before the end.
  ASSERT_TRUE(form().SendPing(L"about"));
  ASSERT_TRUE(RunUntil([&] { return server.RequestLines().size() == 1; }, 3000));
  form().UsagePing.LastPingTime = 0;

  ASSERT_EQ(Query(), 1);
  End(true);
  EXPECT_FALSE(form().Visible()) << "the window was not closed";
  // The only request that may still arrive is a stop; an "about" sent now is
  // the last one either way, so its arrival shows nothing came before it.
  form().UsagePing.SessionEnding = false;
  ASSERT_TRUE(form().SendPing(L"about", L"", true));
  ASSERT_TRUE(RunUntil([&] { return server.RequestLines().size() >= 2; }, 3000));
  EXPECT_EQ(server.RequestLines()[1].rfind("GET /ping/about/", 0), 0u) << "a stop ping went out at the session end";
}

TEST_F(SessionEnd, AFailingSaveShowsNothingWhileTheSessionEnds) {
  testing::RefusedSettingsKey refused;
  // Closing to the tray reports the failing save: the store really refuses.
  ::SendMessageW(form().Handle(), WM_CLOSE, 0, 0);
  ASSERT_FALSE(form().Visible());
  const int reported = errors_;
  ASSERT_GT(reported, 0);

  ASSERT_EQ(Query(), 1);
  End(true);
  EXPECT_EQ(errors_, reported) << "an error reached the user during the session end";
}

}  // namespace
}  // namespace lumitrax
