// "Automatically run program on startup" as Windows sees it: a Run entry the
// user turned off in Task Manager or the Settings app (StartupApproved) shows as
// an unticked box and stays off; ticking the box turns it on there too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_support.h"
#include "user_registry.h"

namespace lumitrax::e2e {
namespace {

constexpr DWORD kTimeout = 15000;
const wchar_t* const kApproved = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

using lumitrax::testing::GetString;
using lumitrax::testing::kRun;
using lumitrax::testing::PutString;

std::vector<BYTE> GetBinary(const wchar_t* key, const wchar_t* name) {
  std::vector<BYTE> data(64);
  DWORD size = static_cast<DWORD>(data.size());
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_BINARY, nullptr, data.data(), &size) != ERROR_SUCCESS)
    return {};
  data.resize(size);
  return data;
}

HWND AutoRunBox(HWND main) {
  HWND found = nullptr;
  ::EnumChildWindows(
      main,
      [](HWND child, LPARAM out) -> BOOL {
        wchar_t text[128] = {};
        ::GetWindowTextW(child, text, 128);
        if (std::wstring(text) != L"Automatically &run program on startup") return TRUE;
        *reinterpret_cast<HWND*>(out) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

bool Ticked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST(StartupApproved, AnEntryTurnedOffInWindowsShowsUntickedStaysOffAndTickingTurnsItOn) {
  const std::wstring quoted = L"\"" + BesideTestExe(L"Lumitrax.exe") + L"\"";
  PutString(kRun, L"Lumitrax.exe", quoted);
  // Turned off in Task Manager: 03, then the time of the change.
  const std::vector<BYTE> off{0x03, 0x00, 0x5C, 0x1E, 0x27, 0x61, 0xD9, 0x01, 0x00, 0x00, 0x00, 0x00};
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kApproved, L"Lumitrax.exe", REG_BINARY, off.data(),
                              static_cast<DWORD>(off.size())),
            ERROR_SUCCESS);

  Program program;
  const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", kTimeout);
  ASSERT_NE(main, nullptr);
  const HWND box = AutoRunBox(main);
  ASSERT_NE(box, nullptr);
  // The box starts ticked (its default) and is unticked once start-up has
  // applied the settings.
  ASSERT_TRUE(WaitFor([&] { return !Ticked(box); }, kTimeout)) << "the box claims Windows will start the program";
  EXPECT_EQ(GetBinary(kApproved, L"Lumitrax.exe"), off) << "the user's choice in Windows was overridden";
  EXPECT_EQ(GetString(kRun, L"Lumitrax.exe"), quoted) << "the Run entry Task Manager lists was changed";

  ::SendMessageW(box, BM_CLICK, 0, 0);
  ASSERT_TRUE(Ticked(box));
  const std::vector<BYTE> approved = GetBinary(kApproved, L"Lumitrax.exe");
  ASSERT_EQ(approved.size(), 12u);
  EXPECT_EQ(approved[0] & 1, 0) << "still turned off in Windows";
  EXPECT_EQ(GetString(kRun, L"Lumitrax.exe"), quoted);
}

TEST(StartupApproved, AnEntryWindowsHasOnStaysTickedAndUntouched) {
  const std::vector<BYTE> on{0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kApproved, L"Lumitrax.exe", REG_BINARY, on.data(),
                              static_cast<DWORD>(on.size())),
            ERROR_SUCCESS);
  Program program;
  const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", kTimeout);
  ASSERT_NE(main, nullptr);
  const std::wstring quoted = L"\"" + BesideTestExe(L"Lumitrax.exe") + L"\"";
  ASSERT_TRUE(WaitFor([&] { return GetString(kRun, L"Lumitrax.exe") == quoted; }, kTimeout));
  EXPECT_TRUE(Ticked(AutoRunBox(main)));
  EXPECT_EQ(GetBinary(kApproved, L"Lumitrax.exe"), on);
}

}  // namespace
}  // namespace lumitrax::e2e
