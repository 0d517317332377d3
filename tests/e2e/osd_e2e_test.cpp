// The on-screen display of the real program, with its default settings.
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace lumitrax::e2e {
namespace {

void PressCapsLock() {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = VK_CAPITAL;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

BYTE Alpha(HWND window) {
  BYTE alpha = 0;
  DWORD flags = 0;
  ::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags);
  return (flags & LWA_ALPHA) ? alpha : 0;
}

TEST(OsdEndToEnd, CapsLockShowsTheDisplayInTheCornerAtItsOpacityAndCapsOffHidesIt) {
  Program program;
  const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", 15000);
  ASSERT_NE(main, nullptr);
  ::PostMessageW(main, WM_CLOSE, 0, 0);  // to the tray: the display follows its normal rules
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(main); }, 5000));
  const HWND osd = program.FindWindow(L"TfrmOsd", nullptr, 5000);
  ASSERT_NE(osd, nullptr);
  ::Sleep(300);
  ASSERT_FALSE(::IsWindowVisible(osd)) << "all locks off: nothing to show";

  PressCapsLock();
  // The hook reports at once; the guard timer within 1.3 s at the latest.
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(osd) != FALSE; }, 3000));
  EXPECT_EQ(Alpha(osd), 204);
  // Re-raising the display drops and sets the topmost state in two steps, so
  // one look can fall between them.
  EXPECT_TRUE(WaitFor([&] { return (::GetWindowLongPtrW(osd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 1000));
  RECT place{}, work{};
  ::GetWindowRect(osd, &place);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_GT(place.left, (work.left + work.right) / 2);
  EXPECT_GT(place.top, (work.top + work.bottom) / 2);
  EXPECT_LE(place.right, work.right);
  EXPECT_LE(place.bottom, work.bottom);

  PressCapsLock();
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(osd); }, 3000));
}

}  // namespace
}  // namespace lumitrax::e2e
