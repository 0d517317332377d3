// "Send anonymous usage reports" in the real program: one run that starts,
// opens About and clicks a link, against the local test server, with the
// reports on, turned off by the user, or turned off by an administrator's
// policy. With the reports on such a run sends today's pings: "start" only,
// since "about" and "openlink" within 30 minutes of it stay home (the
// in-process usage ping tests send those forced, reports off). The link opens
// in every case; Wine's browser setting names a script of the build
// that notes the address (as in the links test), so the test needs Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command.h"
#include "e2e_support.h"
#include "test_http_server.h"
#include "user_registry.h"

namespace lumitrax::e2e {
namespace {

constexpr UINT kActivateInstance = 35557;
constexpr unsigned short kPort = LUMITRAX_TEST_SITE_PORT;
const wchar_t* const kPolicy = L"Software\\Policies\\MOVRANIK\\Lumitrax";

std::wstring Record() { return BesideTestExe(L"browser-record.txt"); }

bool BrowserOpened() {
  std::ifstream file{std::filesystem::path(Record())};
  std::stringstream text;
  text << file.rdbuf();
  return !text.str().empty();
}

void SetPolicy(HKEY root, const wchar_t* name, DWORD type, const void* data, DWORD size) {
  ASSERT_EQ(::RegSetKeyValueW(root, kPolicy, name, type, data, size), ERROR_SUCCESS);
}

void SetPolicyDword(HKEY root, DWORD value) {
  SetPolicy(root, L"DisableUsageReports", REG_DWORD, &value, sizeof(value));
}

// The visible child of a class with that text.
HWND ChildWithText(HWND parent, const wchar_t* class_name, const std::wstring& text) {
  struct Search {
    const wchar_t* class_name;
    const std::wstring& text;
    HWND found = nullptr;
  } search{class_name, text};
  ::EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t name[64] = {};
        ::GetClassNameW(child, name, 64);
        if (std::wstring(name) == s->class_name && WindowText(child) == s->text) s->found = child;
        return !s->found;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Opens About from the window menu as the keyboard does: Alt+Space opens
// the menu with its first item, "About", selected, and Enter chooses it.
void ChooseAboutFromTheWindowMenu(HWND main) {
  ::SetForegroundWindow(main);
  ::PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, L' ');
  ASSERT_TRUE(WaitFor([] {
    const HWND menu = ::FindWindowW(L"#32768", nullptr);
    return menu && ::IsWindowVisible(menu);
  }, 10000)) << "the window menu did not open";
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_RETURN;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof(INPUT));
}

class UsageReports : public ::testing::Test {
 protected:
  void SetUp() override {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !::GetProcAddress(ntdll, "wine_get_version"))
      GTEST_SKIP() << "needs Wine's browser setting; on Windows a real browser would open";
    const std::wstring script = BesideTestExe(L"record-browser.sh");
    ASSERT_EQ(script.rfind(L"Z:", 0), 0u) << "the build must be reachable through Wine's Z: drive";
    std::wstring unix;
    for (wchar_t c : script.substr(2)) unix += c == L'\\' ? L'/' : c;
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", L"Browsers", REG_SZ, unix.c_str(),
                                static_cast<DWORD>((unix.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ::DeleteFileW(Record().c_str());
  }
  void TearDown() override {
    if (!IsSkipped()) ::DeleteFileW(Record().c_str());
  }

  // Starts the program, has it run its first minute tick (the start ping), opens and closes About,
  // clicks the site's link, and ends the program with "/exit". Every ping
  // waits for its answer while the program runs, so once it has ended the
  // server holds every request it was sent.
  void RunWithStartAboutAndALink() {
    {
      Program program{L"LumitraxTestSite.exe"};
      const HWND app = program.FindWindow(L"TApplication", L"Lumitrax", 15000);
      const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", 15000);
      ASSERT_NE(main, nullptr);
      ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, 10000));
      ::PostMessageW(app, kActivateInstance, 0, 0);

      ChooseAboutFromTheWindowMenu(main);
      if (HasFatalFailure()) return;
      const HWND dialog = program.FindWindow(L"TfrmAbout", nullptr, 10000);
      ASSERT_NE(dialog, nullptr);
      ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(dialog) != FALSE; }, 10000));
      ::PostMessageW(dialog, WM_CLOSE, 0, 0);
      ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 10000));

      const HWND site = ChildWithText(main, L"TLabel", L"127.0.0.1");
      ASSERT_NE(site, nullptr);
      ::PostMessageW(site, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      ::PostMessageW(site, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
      ASSERT_TRUE(WaitFor(BrowserOpened, 15000)) << "the link must open whatever the reports";
      if (expect_pings_) {
        ASSERT_TRUE(WaitFor([&] { return !server_.RequestLines().empty(); }, 15000));
      }

      const auto code = RunToEnd(Quoted(BesideTestExe(L"LumitraxTestSite.exe")) + L" /exit", 30000);
      ASSERT_TRUE(code.has_value());
      ASSERT_TRUE(program.WaitForExit(15000));
    }
  }

  std::vector<std::string> Actions() const {
    std::vector<std::string> actions;
    for (const std::string& line : server_.RequestLines()) {
      const auto start = line.find("/ping/") + 6;
      actions.push_back(line.substr(start, line.find('/', start) - start));
    }
    return actions;
  }

  TestHttpServer server_{TestHttpServer::Mode::Ok, kPort};
  bool expect_pings_ = false;
};

TEST_F(UsageReports, OnByDefaultTheRunSendsTodaysPings) {
  expect_pings_ = true;
  RunWithStartAboutAndALink();
  EXPECT_EQ(Actions(), (std::vector<std::string>{"start"}));
}

TEST_F(UsageReports, TurnedOffByTheUserNoRequestGoesOut) {
  testing::PutDword(testing::kKey, L"UsageReports", 0);
  RunWithStartAboutAndALink();
  EXPECT_TRUE(server_.RequestLines().empty()) << server_.RequestLines()[0];
  EXPECT_EQ(testing::TypeOf(testing::kKey, L"UsageReports"), static_cast<DWORD>(REG_DWORD)) << "kept stored";
}

TEST_F(UsageReports, TheMachinePolicyOrTheUserPolicyTurnsThemOff) {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    SCOPED_TRACE(root == HKEY_LOCAL_MACHINE ? "HKLM" : "HKCU");
    SetPolicyDword(root, 1);
    RunWithStartAboutAndALink();
    EXPECT_TRUE(server_.RequestLines().empty());
    ::RegDeleteTreeW(root, kPolicy);
    ::DeleteFileW(Record().c_str());
  }
}

TEST_F(UsageReports, ABrokenPolicyValueIsIgnoredAndTheReportsStayOn) {
  SetPolicy(HKEY_LOCAL_MACHINE, L"DisableUsageReports", REG_SZ, L"1", 2 * sizeof(wchar_t));
  SetPolicyDword(HKEY_CURRENT_USER, 7);
  expect_pings_ = true;
  RunWithStartAboutAndALink();
  EXPECT_EQ(Actions(), (std::vector<std::string>{"start"}));
}

}  // namespace
}  // namespace lumitrax::e2e
