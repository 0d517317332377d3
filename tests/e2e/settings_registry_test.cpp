// The real program's settings and Run entry in the user's registry, and one
// instance per user, driven from another process.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "e2e_support.h"
#include "user_registry.h"

namespace lumitrax::e2e {
namespace {

constexpr DWORD kTimeout = 15000;

using lumitrax::testing::GetString;
using lumitrax::testing::kKey;
using lumitrax::testing::kOsd;
using lumitrax::testing::kRun;
using lumitrax::testing::kTray;
using lumitrax::testing::PutDword;
using lumitrax::testing::PutString;
using lumitrax::testing::TypeOf;
DWORD GetDword(const wchar_t* key, const wchar_t* name) {
  DWORD value = 0xDEADBEEF, size = sizeof(value);
  ::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

std::string Narrow(const wchar_t* text) { return std::string(text, text + wcslen(text)); }

HWND ShownSettingsWindow(const Program& program) {
  const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", kTimeout);
  if (!main || !WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, kTimeout)) return nullptr;
  return main;
}

TEST(SettingsRegistry, FirstStartRegistersTheQuotedPathAndClosingToTheTrayWritesTheRecord) {
  Program program;
  const HWND main = ShownSettingsWindow(program);
  ASSERT_NE(main, nullptr);
  // The Run entry is written as start-up applies the settings, just after the window shows.
  const std::wstring quoted = L"\"" + BesideTestExe(L"Lumitrax.exe") + L"\"";
  EXPECT_TRUE(WaitFor([&] { return GetString(kRun, L"Lumitrax.exe") == quoted; }, kTimeout));
  EXPECT_EQ(GetString(kRun, L"Lumitrax.exe"), quoted);
  EXPECT_EQ(TypeOf(kKey, L"Visible"), static_cast<DWORD>(REG_NONE)) << "nothing is written before a close";

  RECT frame{};
  ::GetWindowRect(main, &frame);
  ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitFor([] { return TypeOf(kOsd, L"Color2") != REG_NONE; }, kTimeout));
  EXPECT_TRUE(program.Running());

  EXPECT_EQ(GetString(kKey, L"Bounds"), std::to_wstring(frame.left) + L"," + std::to_wstring(frame.top) + L"," +
                                            std::to_wstring(frame.right - frame.left) + L"," +
                                            std::to_wstring(frame.bottom - frame.top));
  EXPECT_EQ(GetDword(kKey, L"Visible"), 0u);
  EXPECT_EQ(GetDword(kKey, L"AutoRun"), 1u);
  EXPECT_EQ(GetDword(kKey, L"BeepOnSwitch"), 1u);
  for (const wchar_t* name : {L"Led1", L"Led2", L"Led3", L"IconMarks", L"Color1", L"Color2", L"Color3"})
    EXPECT_EQ(TypeOf(kTray, name), static_cast<DWORD>(REG_DWORD)) << Narrow(name);
  EXPECT_EQ(GetDword(kTray, L"Led3"), 3u);
  EXPECT_EQ(GetDword(kTray, L"Color1"), 0x0000FFu);
  // Nobody chose the grid colour: it stays the taskbar theme's default, unwritten.
  EXPECT_EQ(TypeOf(kTray, L"GridColor"), static_cast<DWORD>(REG_NONE));
  for (const wchar_t* name : {L"Show", L"Led1", L"Led2", L"Led3", L"AutoHide", L"HideAfter", L"HideInterval",
                              L"Opacity", L"Size", L"Color1", L"Color2"})
    EXPECT_EQ(TypeOf(kOsd, name), static_cast<DWORD>(REG_DWORD)) << Narrow(name);
  EXPECT_EQ(GetDword(kOsd, L"Opacity"), 80u);
  EXPECT_EQ(GetDword(kOsd, L"Color2"), 0xFFFFFFu);
}

TEST(SettingsRegistry, ARestartPutsTheWindowBackAndKeepsItHiddenWhenItWasClosed) {
  PutString(kKey, L"Bounds", L"40,50,300,500");
  {
    Program program;
    const HWND main = ShownSettingsWindow(program);
    ASSERT_NE(main, nullptr);
    RECT frame{};
    ::GetWindowRect(main, &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 50);
  }
  PutDword(kKey, L"Visible", 0);
  Program program;
  const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", kTimeout);
  ASSERT_NE(main, nullptr);
  // Well past the start-up phase: still nothing shown.
  ::Sleep(2500);
  EXPECT_FALSE(::IsWindowVisible(main));
  EXPECT_TRUE(program.Running());
}

TEST(SettingsRegistry, AutoRunStoredOffRemovesAnEarlierRunEntryAtStart) {
  PutString(kRun, L"Lumitrax.exe", L"\"C:\\old place\\Lumitrax.exe\"");
  PutDword(kKey, L"AutoRun", 0);
  Program program;
  ASSERT_NE(ShownSettingsWindow(program), nullptr);
  EXPECT_TRUE(WaitFor([] { return TypeOf(kRun, L"Lumitrax.exe") == REG_NONE; }, kTimeout));
}

TEST(OneInstance, ASecondStartShowsTheFirstOnesWindowAndEndsWithoutOneOfItsOwn) {
  PutDword(kKey, L"Visible", 0);
  Program first;
  const HWND main = first.FindWindow(L"TfrmMain", L"Lumitrax", kTimeout);
  ASSERT_NE(main, nullptr);
  // The Run entry is written once the settings are loaded and applied: the
  // first instance has then decided to stay hidden.
  ASSERT_TRUE(WaitFor([] { return GetString(kRun, L"Lumitrax.exe") == L"\"" + BesideTestExe(L"Lumitrax.exe") + L"\""; },
                      kTimeout));
  ASSERT_FALSE(::IsWindowVisible(main));
  // The Run entry is the first one's; the second must not touch it.
  PutString(kRun, L"Lumitrax.exe", L"\"marker\"");

  Program second;
  DWORD exit_code = 99;
  EXPECT_TRUE(second.WaitForExit(5000, &exit_code)) << "the second instance keeps running";
  EXPECT_EQ(exit_code, 0u);
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, kTimeout))
      << "the running instance did not show its settings window";
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(GetString(kRun, L"Lumitrax.exe"), L"\"marker\"");
  EXPECT_EQ(TypeOf(kKey, L"Bounds"), static_cast<DWORD>(REG_NONE)) << "the second instance wrote settings";
}

TEST(OneInstance, AKilledInstanceDoesNotBlockTheNextStart) {
  {
    Program killed;
    ASSERT_NE(ShownSettingsWindow(killed), nullptr);
  }  // terminated here, its mutex abandoned
  Program next;
  EXPECT_NE(ShownSettingsWindow(next), nullptr);
  EXPECT_TRUE(next.Running());
}

TEST(OneInstance, TwoStartsAtTheSameMomentLeaveOneRunning) {
  Program a;
  Program b;
  // One of them finds the other and ends; the other goes on and shows its window.
  const HANDLE both[] = {a.Process(), b.Process()};
  const DWORD ended = ::WaitForMultipleObjects(2, both, FALSE, 60000);
  ASSERT_TRUE(ended == WAIT_OBJECT_0 || ended == WAIT_OBJECT_0 + 1) << "both starts run on";
  const Program& gone = ended == WAIT_OBJECT_0 ? a : b;
  const Program& kept = ended == WAIT_OBJECT_0 ? b : a;
  DWORD exit_code = 99;
  EXPECT_TRUE(gone.WaitForExit(0, &exit_code));
  EXPECT_EQ(exit_code, 0u);
  const HWND main = ShownSettingsWindow(kept);
  ASSERT_NE(main, nullptr) << "the start that stayed shows no settings window";
  DWORD_PTR answer = 0;
  EXPECT_NE(::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
  EXPECT_TRUE(kept.Running());
}

}  // namespace
}  // namespace lumitrax::e2e
