// The main window's usage pings against a local HTTP server: the start ping of
// the first minute tick with every setting in its query, and the gates.
#include <gtest/gtest.h>

#include <memory>

#include "app/form_main.h"
#include "core/ping_query.h"
#include "test_http_server.h"
#include "test_support.h"
#include "web/ping_notify.h"

namespace lumitrax {
namespace {

using testing::RunUntil;

std::string Today() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  char text[16];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
  return text;
}

class UsagePing : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TfrmMain>();
    InitPingNotify(core::PingBaseUrl(server_.Root()));
  }
  void TearDown() override { form_.reset(); }
  TfrmMain& form() { return *form_; }

  TestHttpServer server_{TestHttpServer::Mode::Ok};
  std::unique_ptr<TfrmMain> form_;
};

TEST_F(UsagePing, FirstMinuteTickSendsTheStartPingWithEverySettingAndTheDate) {
  form().UsagePing.tmrMinutesTimer();
  ASSERT_TRUE(RunUntil([&] { return !server_.RequestLines().empty(); }, 3000));
  EXPECT_EQ(server_.RequestLines()[0],
            "GET /ping/start/?version=2.5.0.51&auto=On&beep=On&l1=1&c1=000000FF&l2=2&c2=000000FF&l3=3&c3=000000FF"
            "&mark=On&grid=00D0D0D0&osd1=Off&osd2=On&osd3=Off&osdHide1=On&osdSize=3&osdBody=000000FF"
            "&osdText=00FFFFFF&osdOpct=80&date=" + Today() + " HTTP/1.1");
  EXPECT_FALSE(form().UsagePing.StartPingPending);
  EXPECT_NE(form().UsagePing.LastPingTime, 0.0);
  // The next tick is not due for a day; a stop right after the start is held
  // back by the 30-minute rule.
  form().UsagePing.tmrMinutesTimer();
  EXPECT_FALSE(form().SendPing(L"stop"));
  RunUntil([] { return false; }, 300);
  EXPECT_EQ(server_.RequestLines().size(), 1u);
}

TEST_F(UsagePing, NothingGoesOutBeforeTheStartPingOrWhileTheSessionEnds) {
  EXPECT_FALSE(form().SendPing(L"about", L"", true));
  form().UsagePing.tmrMinutesTimer();
  ASSERT_TRUE(RunUntil([&] { return server_.RequestLines().size() == 1; }, 3000));
  ::SendMessageW(form().Handle(), WM_QUERYENDSESSION, 0, 0);
  EXPECT_FALSE(form().SendPing(L"openlink", L"id=3", true));
  RunUntil([] { return false; }, 300);
  EXPECT_EQ(server_.RequestLines().size(), 1u);
}

TEST_F(UsagePing, TheOsdPairsFollowTheGroupAndTheExtraPairComesLast) {
  form().grpOsd.SetCheckBoxChecked(false);
  form().chbAutoRun.SetChecked(false);
  form().UsagePing.StartPingPending = false;
  EXPECT_TRUE(form().SendPing(L"openlink", L"id=1977", true));
  ASSERT_TRUE(RunUntil([&] { return !server_.RequestLines().empty(); }, 3000));
  EXPECT_EQ(server_.RequestLines()[0],
            "GET /ping/openlink/?version=2.5.0.51&auto=Off&beep=On&l1=1&c1=000000FF&l2=2&c2=000000FF&l3=3"
            "&c3=000000FF&mark=On&grid=00D0D0D0&id=1977 HTTP/1.1");
}

TEST_F(UsagePing, ReportsTurnedOffByTheUserOrThePolicySendNothingAndTouchNoState) {
  bool policy = false;
  form().UsagePing.UsageReportsForcedOff = [&] { return policy; };
  EXPECT_TRUE(form().UsageReportsChecked());
  EXPECT_FALSE(form().UsageReportsGreyed());

  form().SetUsageReports(false);
  EXPECT_FALSE(form().UsageReportsChecked());
  EXPECT_FALSE(form().CurrentSettings().UsageReports) << "stored with the other settings";
  form().UsagePing.tmrMinutesTimer();
  for (const wchar_t* action : {L"running", L"about", L"openlink", L"stop"})
    EXPECT_FALSE(form().SendPing(action, L"", true)) << action;
  EXPECT_EQ(form().UsagePing.LastPingTime, 0.0);

  form().SetUsageReports(true);
  policy = true;
  EXPECT_FALSE(form().UsageReportsChecked()) << "shown off while forced off";
  EXPECT_TRUE(form().UsageReportsGreyed());
  EXPECT_TRUE(form().CurrentSettings().UsageReports) << "the user's own choice is kept";
  for (const wchar_t* action : {L"running", L"about", L"openlink", L"stop"})
    EXPECT_FALSE(form().SendPing(action, L"", true)) << action;

  // The requests wait for their answers, so any sent would be in by now; the
  // policy lifted, the next ping goes out as before.
  EXPECT_TRUE(server_.RequestLines().empty());
  policy = false;
  EXPECT_TRUE(form().SendPing(L"about", L"", true));
  ASSERT_TRUE(RunUntil([&] { return server_.RequestLines().size() == 1; }, 3000));
  EXPECT_EQ(server_.RequestLines()[0].rfind("GET /ping/about/?", 0), 0u);
}

}  // namespace
}  // namespace lumitrax
