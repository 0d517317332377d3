// The real program under Wine: what a user and other programs see of it.
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace lumitrax::e2e {
namespace {

TEST(Startup, ApplicationWindowIsHiddenWithoutTaskbarButton) {
  Program program;
  const HWND app = program.FindWindow(L"TApplication", L"Lumitrax", 15000);
  ASSERT_NE(app, nullptr) << "no TApplication window titled Lumitrax";
  const auto ex_style = ::GetWindowLongPtrW(app, GWL_EXSTYLE);
  EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ex_style & WS_EX_APPWINDOW);
  EXPECT_FALSE(::IsWindowVisible(app));
  EXPECT_TRUE(program.Running());
}

}  // namespace
}  // namespace lumitrax::e2e
