// The web links of the real program reach the system's browser with their exact
// address. Wine opens addresses with the programs named by its WineBrowser
// setting; the test names a script of the build that notes what it is given.
// Windows has no such setting a test may change (the user's default browser
// is protected by the system), so there the test is skipped; the in-process
// links tests check the addresses handed to the shell on both.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "e2e_support.h"

namespace lumitrax::e2e {
namespace {

std::wstring Record() { return BesideTestExe(L"browser-record.txt"); }

std::string ReadRecord() {
  std::ifstream file{std::filesystem::path(Record())};
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The build folder as Linux sees it: Wine maps the root of the file system to Z:.
std::string UnixPathOf(const std::wstring& path) {
  std::string unix;
  for (wchar_t c : path.substr(2)) unix += c == L'\\' ? '/' : static_cast<char>(c);
  return unix;
}

class WebLinks : public ::testing::Test {
 protected:
  void SetUp() override {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !::GetProcAddress(ntdll, "wine_get_version"))
      GTEST_SKIP() << "needs Wine's browser setting; on Windows a real browser would open";
    const std::wstring script = BesideTestExe(L"record-browser.sh");
    ASSERT_EQ(script.rfind(L"Z:", 0), 0u) << "the build must be reachable through Wine's Z: drive";
    ::DeleteFileW(Record().c_str());
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string unix_script = UnixPathOf(script);
    const std::wstring browsers(unix_script.begin(), unix_script.end());
    ::RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(browsers.c_str()),
                     static_cast<DWORD>((browsers.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
  }
  void TearDown() override {
    if (!IsSkipped()) ::DeleteFileW(Record().c_str());
  }
};

// The child windows of a class, left to right as they sit in the window.
std::vector<HWND> Children(HWND parent, const wchar_t* class_name) {
  struct Search {
    const wchar_t* class_name;
    std::vector<HWND> found;
  } search{class_name, {}};
  ::EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t name[64] = {};
        ::GetClassNameW(child, name, 64);
        if (std::wstring(name) == s->class_name && ::IsWindowVisible(child)) s->found.push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void ClickOn(HWND window) {
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

TEST_F(WebLinks, TheSiteLabelAndTheFeedImageOpenTheirExactAddresses) {
  Program program;
  const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", 15000);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, 10000));

  HWND site_label = nullptr;
  for (HWND label : Children(main, L"TLabel"))
    if (WindowText(label) == L"LUMITRAX.EXAMPLE") site_label = label;
  ASSERT_NE(site_label, nullptr);
  ClickOn(site_label);
  ASSERT_TRUE(WaitFor([] { return !ReadRecord().empty(); }, 15000)) << "no address reached the browser";
  // Wine's browser launcher puts the root's "/" back before the query.
  EXPECT_EQ(ReadRecord(), "http://lumitrax.example/?version=2.5.0.51\n");

  // The service images sit in a row at the bottom: Facebook, Google+, Twitter, RSS, ...
  const std::vector<HWND> images = Children(main, L"TImage");
  ASSERT_GE(images.size(), 6u);
  ::DeleteFileW(Record().c_str());
  ClickOn(images[3]);
  ASSERT_TRUE(WaitFor([] { return !ReadRecord().empty(); }, 15000));
  EXPECT_EQ(ReadRecord(), "http://lumitrax.example/feed/\n");
}

}  // namespace
}  // namespace lumitrax::e2e
