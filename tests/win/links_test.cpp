// The web links of the settings window and the About dialog, clicked: each
// opens its address and reports the click with an "openlink" ping carrying
// the control's tag.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/form_main.h"
#include "core/links.h"
#include "core/ping_query.h"
#include "test_http_server.h"
#include "test_support.h"
#include "web/form_about.h"
#include "web/ping_notify.h"

namespace lumitrax {
namespace {

using testing::RunUntil;

struct Link {
  TControl* control;
  int id;
};

// The address this build opens for a link tag (the roots are build settings).
std::string AddressOf(int id) {
  const core::LinkRoots roots = core::DefaultLinkRoots();
  switch (id) {
    case 0:
      return core::ProductSiteAddress(roots.ProductSite, "2.5.0.51");
    case 1977:
      return roots.MakerSite;
    default:
      return core::LinkAddress(id, roots, "2.5.0.51");
  }
}

class Links : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TfrmMain>();
    InitPingNotify(core::PingBaseUrl(server_.Root()));
    form().UsagePing.StartPingPending = false;
    form().OpenLinkAddress = [this](const std::string& address) { opened_.push_back(address); };
  }
  void TearDown() override { form_.reset(); }
  TfrmMain& form() { return *form_; }

  // Clicks the control as the mouse does and waits for its ping; the line of
  // that ping, or "" when none came.
  std::string Click(TControl& control) {
    // Each click is the first in 30 minutes, so none is held back.
    form().UsagePing.LastPingTime = 0;
    const size_t before = OpenLinkPings().size();
    ::SendMessageW(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(control.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    if (!RunUntil([&] { return OpenLinkPings().size() > before; }, 3000)) return "";
    return OpenLinkPings().back();
  }

  void ExpectEachLink(const std::vector<Link>& links) {
    for (const Link& link : links) {
      opened_.clear();
      const std::string line = Click(*link.control);
      const std::string tail = "&id=" + std::to_string(link.id) + " HTTP/1.1";
      ASSERT_GE(line.size(), tail.size()) << link.control->Name << ": no ping";
      EXPECT_EQ(line.substr(line.size() - tail.size()), tail) << link.control->Name;
      EXPECT_EQ(opened_, std::vector<std::string>{AddressOf(link.id)}) << link.control->Name;
    }
  }

  std::vector<std::string> OpenLinkPings() const {
    std::vector<std::string> pings;
    for (const std::string& line : server_.RequestLines())
      if (line.rfind("GET /ping/openlink/?version=2.5.0.51&", 0) == 0) pings.push_back(line);
    return pings;
  }

  TestHttpServer server_{TestHttpServer::Mode::Ok};
  std::unique_ptr<TfrmMain> form_;
  std::vector<std::string> opened_;
};

TEST_F(Links, EveryLinkOfTheSettingsWindowOpensItsAddressAndReportsItsTag) {
  ASSERT_TRUE(form().Visible());
  ExpectEachLink({{&form().lbLink, 0},
                  {&form().imgFaceBook, 1},
                  {&form().imgGplus, 6},
                  {&form().imgTwitter, 2},
                  {&form().imgRSS, 3},
                  {&form().imgDelicious, 4},
                  {&form().imgStumbleUpon, 5}});
}

TEST_F(Links, TheAboutDialogsIconOpensTheProductSiteLikeTheSiteLabelAndItsTextsTheMakersPages) {
  bool clicked = false;
  TTimer poll(50);
  poll.OnTimer = [&](TComponent&) {
    TfrmAbout* about = OpenAboutDialog();
    if (!about || !about->Visible()) return;
    poll.SetEnabled(false);
    ExpectEachLink({{&about->imgIcon, 0}, {&about->lbInfo, 1992}, {&about->lbCopyright, 1977}});
    clicked = true;
    ::PostMessageW(about->Handle(), WM_CLOSE, 0, 0);
  };
  form().actAboutExecute();
  EXPECT_TRUE(clicked);
}

// The controls the Tab key visits in the window, from the first on.
std::vector<HWND> TabCycle(HWND form) {
  std::vector<HWND> cycle;
  HWND first = ::GetNextDlgTabItem(form, nullptr, FALSE);
  for (HWND item = first; item && cycle.size() < 100;) {
    cycle.push_back(item);
    item = ::GetNextDlgTabItem(form, item, FALSE);
    if (item == first) break;
  }
  return cycle;
}

bool InCycle(const std::vector<HWND>& cycle, TControl& control) {
  return std::find(cycle.begin(), cycle.end(), control.Handle()) != cycle.end();
}

TEST_F(Links, EveryLinkIsReachedByTabAndOpensWithEnterOrSpaceDrawingItsFocus) {
  ASSERT_TRUE(form().Visible());
  ::SetForegroundWindow(form().Handle());
  const std::vector<HWND> cycle = TabCycle(form().Handle());
  const std::vector<Link> links{{&form().lbLink, 0},     {&form().imgFaceBook, 1}, {&form().imgGplus, 6},
                                {&form().imgTwitter, 2}, {&form().imgRSS, 3},      {&form().imgDelicious, 4},
                                {&form().imgStumbleUpon, 5}};
  WORD key = VK_RETURN;
  for (const Link& link : links) {
    EXPECT_TRUE(InCycle(cycle, *link.control)) << link.control->Name;
    opened_.clear();
    ::SetFocus(link.control->Handle());
    ASSERT_EQ(::GetFocus(), link.control->Handle());
    testing::PressKey(key);
    EXPECT_TRUE(RunUntil([&] { return !opened_.empty(); }, 3000)) << link.control->Name;
    EXPECT_EQ(opened_, std::vector<std::string>{AddressOf(link.id)}) << link.control->Name;
    key = key == VK_RETURN ? VK_SPACE : VK_RETURN;
  }
  // The lock buttons and the lists are on the way as well.
  for (TControl* control : std::initializer_list<TControl*>{&form().btnCapsLock, &form().cmbColorGrid,
                                                              &form().edOsdOpacity, &form().chbAutoRun})
    EXPECT_TRUE(InCycle(cycle, *control)) << control->Name;
}

TEST_F(Links, TheAboutDialogsLinksAreReachedByTab) {
  bool looked = false;
  TTimer poll(50);
  poll.OnTimer = [&](TComponent&) {
    TfrmAbout* about = OpenAboutDialog();
    if (!about || !about->Visible()) return;
    poll.SetEnabled(false);
    const std::vector<HWND> cycle = TabCycle(about->Handle());
    for (TControl* control : std::initializer_list<TControl*>{&about->btnOK, &about->imgIcon, &about->lbInfo,
                                                                &about->lbCopyright})
      EXPECT_TRUE(InCycle(cycle, *control)) << control->Name;
    looked = true;
    // Escape closes the dialog.
    ::SetForegroundWindow(about->Handle());
    ::SetFocus(about->btnOK.Handle());
    testing::PressKey(VK_ESCAPE);
  };
  form().actAboutExecute();
  EXPECT_TRUE(looked);
}

}  // namespace
}  // namespace lumitrax
