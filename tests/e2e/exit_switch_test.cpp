// "Lumitrax.exe /exit": a running instance quits through its normal exit, and
// without one nothing starts.
#include <gtest/gtest.h>

#include "command.h"
#include "e2e_support.h"
#include "user_registry.h"

namespace lumitrax::e2e {
namespace {

using namespace lumitrax::testing;

const std::wstring& Exe() {
  static const std::wstring exe = BesideTestExe(L"Lumitrax.exe");
  return exe;
}

bool SettingsKeyExists() {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

TEST(ExitSwitch, WithNoInstanceRunningEndsAtOnceWithZeroAndStartsNothing) {
  ASSERT_EQ(::FindWindowW(L"TApplication", L"Lumitrax"), nullptr) << "an instance runs before the test";
  Command exit(Quoted(Exe()) + L" /exit");
  // "At once": well inside the time limit it would wait for a running instance.
  const std::optional<DWORD> code = exit.Wait(5000);
  ASSERT_TRUE(code.has_value()) << "/exit did not end by itself";
  EXPECT_EQ(*code, 0u);
  // A normal start would have written its Run entry and shown its windows.
  EXPECT_EQ(TypeOf(kRun, L"Lumitrax.exe"), static_cast<DWORD>(REG_NONE));
  EXPECT_FALSE(SettingsKeyExists());
  EXPECT_EQ(::FindWindowW(L"TApplication", L"Lumitrax"), nullptr);
}

TEST(ExitSwitch, TheRunningInstanceQuitsThroughItsNormalExitWithoutAQuestion) {
  Program program;
  ASSERT_NE(program.FindWindow(L"TApplication", L"Lumitrax", 15000), nullptr);
  // The start-up is over once the Run entry is written; nothing is saved yet.
  ASSERT_TRUE(WaitFor([] { return TypeOf(kRun, L"Lumitrax.exe") != REG_NONE; }, 15000));
  ASSERT_EQ(TypeOf(kKey, L"BeepOnSwitch"), static_cast<DWORD>(REG_NONE));

  const std::optional<DWORD> code = RunToEnd(Quoted(Exe()) + L" /EXIT", 30000);
  ASSERT_TRUE(code.has_value()) << "/exit did not end";
  EXPECT_EQ(*code, 0u);
  // "/exit" returns only once the instance has ended: no question held it up.
  DWORD program_code = 1;
  EXPECT_TRUE(program.WaitForExit(0, &program_code));
  EXPECT_EQ(program_code, 0u);
  // The normal exit saves the settings; the Run entry stays.
  EXPECT_EQ(TypeOf(kKey, L"BeepOnSwitch"), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(TypeOf(kRun, L"Lumitrax.exe"), static_cast<DWORD>(REG_SZ));
}

TEST(ExitSwitch, AnUnknownSwitchIsANormalStart) {
  Command start(Quoted(Exe()) + L" /unknown");
  struct Stop {
    const Command& command;
    ~Stop() {
      if (!command.Wait(0)) RunToEnd(Quoted(Exe()) + L" /exit", 30000);
    }
  } stop{start};
  EXPECT_TRUE(WaitFor([] { return ::FindWindowW(L"TApplication", L"Lumitrax") != nullptr; }, 15000));
  EXPECT_TRUE(WaitFor([] { return TypeOf(kRun, L"Lumitrax.exe") != REG_NONE; }, 15000));
  EXPECT_FALSE(start.Wait(0).has_value()) << "the program ended on an unknown switch";
}

}  // namespace
}  // namespace lumitrax::e2e
