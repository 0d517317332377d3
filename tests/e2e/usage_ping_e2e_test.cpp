// The usage ping of the real program, whose product site is a test server on
// 127.0.0.1 (LumitraxTestSite.exe is Lumitrax built with that site).
#include <gtest/gtest.h>

#include <cstdio>

#include "e2e_support.h"
#include "test_http_server.h"

namespace lumitrax::e2e {
namespace {

constexpr UINT kActivateInstance = 35557;
constexpr unsigned short kPort = LUMITRAX_TEST_SITE_PORT;

std::string Today() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  char text[16];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
  return text;
}

struct Started {
  Program program{L"LumitraxTestSite.exe"};
  HWND app = program.FindWindow(L"TApplication", L"Lumitrax", 15000);
  HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", 15000);
};

// Answers a message: not hung (the system calls a window hung after 5 s without
// handling messages).
bool Responds(HWND window) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

TEST(UsagePingEndToEnd, HandOverMessageMakesAFreshInstanceSendExactlyOneStartPing) {
  TestHttpServer server(TestHttpServer::Mode::Ok, kPort);
  Started started;
  ASSERT_NE(started.app, nullptr);
  ::PostMessageW(started.app, kActivateInstance, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !server.RequestLines().empty(); }, 5000));
  ::Sleep(1000);
  const auto lines = server.RequestLines();
  ASSERT_EQ(lines.size(), 1u);
  const std::string& line = lines[0];
  EXPECT_EQ(line.rfind("GET /ping/start/?version=2.5.0.51&auto=", 0), 0u) << line;
  for (const char* pair : {"&beep=", "&l1=", "&c1=", "&l2=", "&c2=", "&l3=", "&c3=", "&mark=", "&grid="})
    EXPECT_NE(line.find(pair), std::string::npos) << pair << " in " << line;
  const std::string tail = "&date=" + Today() + " HTTP/1.1";
  EXPECT_EQ(line.substr(line.size() - tail.size()), tail) << line;
  std::printf("start ping request line: %s\n", line.c_str());
}

TEST(UsagePingEndToEnd, AServerThatNeverAnswersIsGivenUpAndTheProgramRunsOn) {
  TestHttpServer server(TestHttpServer::Mode::Silent, kPort);
  Started started;
  ASSERT_NE(started.main, nullptr);
  ::PostMessageW(started.app, kActivateInstance, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !server.RequestLines().empty(); }, 5000));
  const ULONGLONG asked = ::GetTickCount64();
  // The program keeps handling messages while its ping waits.
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(Responds(started.main));
    ::Sleep(200);
  }
  // It gives up after 10 s (plus WinINet's own second to drop the socket); the
  // time-out itself is the ping component's test, here it is a figure.
  ASSERT_TRUE(WaitFor([&] { return server.ClientClosed(); }, 120000)) << "the request was never given up";
  std::printf("unanswered ping given up after %llu ms\n",
              static_cast<unsigned long long>(::GetTickCount64() - asked));
  EXPECT_TRUE(started.program.Running());
}

TEST(UsagePingEndToEnd, AClosedPortFailsSilently) {
  Started started;
  ASSERT_NE(started.main, nullptr);
  ::PostMessageW(started.app, kActivateInstance, 0, 0);
  ::Sleep(1500);
  EXPECT_TRUE(started.program.Running());
  EXPECT_TRUE(Responds(started.main));
  EXPECT_EQ(started.program.FindWindow(L"#32770", nullptr, 200), nullptr) << "no error box";
  EXPECT_EQ(started.program.FindWindow(L"TMessageForm", nullptr, 200), nullptr);
}

TEST(UsagePingEndToEnd, EndingBeforeTheFirstTickOrAtSessionEndSendsNothing) {
  TestHttpServer server(TestHttpServer::Mode::Ok, kPort);
  {
    Started started;
    ASSERT_NE(started.main, nullptr);
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(started.main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
    ::PostMessageW(started.main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(started.program.WaitForExit(10000));
  }
  {
    Started started;
    ::PostMessageW(started.app, kActivateInstance, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return server.RequestLines().size() == 1; }, 5000));
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(started.main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
    ::PostMessageW(started.main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(started.program.WaitForExit(10000));
  }
  ::Sleep(300);
  EXPECT_EQ(server.RequestLines().size(), 1u) << "only the second run's start ping, no stop";
}

}  // namespace
}  // namespace lumitrax::e2e
