// The About dialog over a real main window: one dialog at a time, its texts,
// its place, the tray menu while it shows, the session end and its ping.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "app/form_main.h"
#include "core/ping_query.h"
#include "framework/os_functions.h"
#include "test_http_server.h"
#include "test_support.h"
#include "text_fit.h"
#include "web/form_about.h"
#include "web/ping_notify.h"

namespace lumitrax {
namespace {

using testing::RunUntil;
using testing::WindowText;

class AboutDialog : public ::testing::Test {
 protected:
  void SetUp() override { form_ = std::make_unique<TfrmMain>(); }
  void TearDown() override { form_.reset(); }
  TfrmMain& form() { return *form_; }

  // Runs the About command; `while_open` runs once the dialog shows, and must
  // close it.
  void RunAbout(const std::function<void(TfrmAbout&)>& while_open) {
    TTimer poll(50);
    poll.OnTimer = [&](TComponent&) {
      TfrmAbout* about = OpenAboutDialog();
      if (!about || !about->Visible()) return;
      poll.SetEnabled(false);
      while_open(*about);
    };
    form().actAboutExecute();
  }
  std::unique_ptr<TfrmMain> form_;
};

TEST_F(AboutDialog, ShowsTitleAndVersionCentredInTheWorkAreaWhileTheSettingsWindowIsHidden) {
  form().Hide();
  std::wstring title, version, caption;
  RECT place{};
  RunAbout([&](TfrmAbout& about) {
    title = WindowText(about.lbTitle.Handle());
    version = WindowText(about.lbVersion.Handle());
    caption = WindowText(about.Handle());
    ::GetWindowRect(about.Handle(), &place);
    about.btnOK.OnClick(about.btnOK);
  });
  EXPECT_EQ(title, L"Lumitrax");
  EXPECT_EQ(version, L"2.5.0.51");
  EXPECT_EQ(caption, L"About");
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((place.left + place.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((place.top + place.bottom) / 2, (work.top + work.bottom) / 2, 1);
  EXPECT_EQ(OpenAboutDialog(), nullptr) << "the dialog exists only while it shows";
}

// Run at 96, 120, 144 and 192 dpi by the bench's --dpi.
TEST_F(AboutDialog, EveryTextShowsWholeAndTheLabelsKeepOneCentreAboveTheButton) {
  std::vector<testing::ClippedText> clipped;
  std::wstring slogan, reports_text;
  RECT client{}, title{}, info{}, copyright{}, ok{}, icon{}, reports{};
  auto place = [](HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  RunAbout([&](TfrmAbout& about) {
    clipped = testing::FindClippedTexts(about.Handle());
    slogan = WindowText(about.lbInfo.Handle());
    ::GetClientRect(about.Handle(), &client);
    title = place(about.lbTitle.Handle());
    info = place(about.lbInfo.Handle());
    copyright = place(about.lbCopyright.Handle());
    ok = place(about.btnOK.Handle());
    icon = place(about.imgIcon.Handle());
    reports = place(about.lbReports.Handle());
    reports_text = WindowText(about.lbReports.Handle());
    // Only for looking at the dialog in a screenshot: keeps it open a while.
    if (const char* hold = std::getenv("LUMITRAX_HOLD_ABOUT_MS")) testing::Pump(static_cast<DWORD>(std::atoi(hold)));
    about.btnOK.OnClick(about.btnOK);
  });
  EXPECT_TRUE(clipped.empty()) << "at " << os::DpiForSystem() << " dpi:\n" << testing::DescribeClippedTexts(clipped);
  EXPECT_EQ(slogan, L"Keyboard lights for every PC\u2122");
  // The labels stay one centred column right of the icon, the button under
  // its middle, everything inside the client area.
  EXPECT_EQ(title.left + title.right, info.left + info.right);
  EXPECT_EQ(info.left + info.right, copyright.left + copyright.right);
  EXPECT_NEAR((ok.left + ok.right) / 2, (info.left + info.right) / 2, 1);
  EXPECT_GE(info.left, icon.right);
  EXPECT_GE(ok.top, copyright.bottom);
  EXPECT_LE(info.right, client.right);
  EXPECT_LE(ok.bottom, client.bottom);
  EXPECT_LE(icon.bottom, client.bottom);
  // The line about the usage reports: one row under the icon and the button.
  EXPECT_EQ(reports_text, L"What Lumitrax sends: see the README");
  EXPECT_GE(reports.top, ok.bottom);
  EXPECT_GE(reports.top, icon.bottom);
  EXPECT_LE(reports.bottom, client.bottom);
  EXPECT_GE(reports.left, 0);
  EXPECT_LE(reports.right, client.right);
}

TEST_F(AboutDialog, IsCentredOverTheVisibleSettingsWindowAndOwnedByIt) {
  ASSERT_TRUE(form().Visible());
  RECT place{}, main{};
  HWND owner = nullptr;
  RunAbout([&](TfrmAbout& about) {
    ::GetWindowRect(about.Handle(), &place);
    owner = ::GetWindow(about.Handle(), GW_OWNER);
    ::PostMessageW(about.Handle(), WM_CLOSE, 0, 0);
  });
  ::GetWindowRect(form().Handle(), &main);
  EXPECT_EQ(owner, form().Handle());
  EXPECT_NEAR((place.left + place.right) / 2, (main.left + main.right) / 2, 1);
  EXPECT_NEAR((place.top + place.bottom) / 2, (main.top + main.bottom) / 2, 1);
}

TEST_F(AboutDialog, ASecondRequestWhileOpenBringsNothingNewAndTheTrayMenuComesBack) {
  int result_of_second = -1;
  bool settings_enabled = true, about_enabled = true, close_enabled = false;
  HWND first = nullptr;
  RunAbout([&](TfrmAbout& about) {
    first = about.Handle();
    settings_enabled = form().miPopupSetup->Enabled;
    about_enabled = form().miPopupAbout->Enabled;
    close_enabled = form().miPopupClose->Enabled;
    form().actAboutExecute();  // ignored while the dialog shows
    result_of_second = ShowAbout(form().AboutHost());
    EXPECT_EQ(OpenAboutDialog()->Handle(), first);
    ::PostMessageW(about.btnOK.Handle(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(result_of_second, 0);
  EXPECT_FALSE(settings_enabled);
  EXPECT_FALSE(about_enabled);
  EXPECT_TRUE(close_enabled);
  EXPECT_TRUE(form().miPopupSetup->Enabled);
  EXPECT_TRUE(form().miPopupAbout->Enabled);
  EXPECT_FALSE(form().AboutShowing);
}

TEST_F(AboutDialog, SessionEndClosesItAndLetsTheSessionEnd) {
  LRESULT answer = 0;
  RunAbout([&](TfrmAbout& about) { answer = ::SendMessageW(about.Handle(), WM_QUERYENDSESSION, 0, 0); });
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(OpenAboutDialog(), nullptr);
  EXPECT_TRUE(form().miPopupSetup->Enabled);
  EXPECT_TRUE(form().miPopupAbout->Enabled);
}

TEST_F(AboutDialog, ReportsItsShowingOnceAfterHalfASecond) {
  TestHttpServer server(TestHttpServer::Mode::Ok);
  InitPingNotify(core::PingBaseUrl(server.Root()));
  form().UsagePing.StartPingPending = false;
  RunAbout([&](TfrmAbout& about) {
    ASSERT_TRUE(RunUntil([&] { return !server.RequestLines().empty(); }, 3000));
    ::PostMessageW(about.Handle(), WM_CLOSE, 0, 0);
  });
  ASSERT_EQ(server.RequestLines().size(), 1u);
  EXPECT_EQ(server.RequestLines()[0].rfind("GET /ping/about/?version=2.5.0.51&auto=On", 0), 0u);
}

}  // namespace
}  // namespace lumitrax
