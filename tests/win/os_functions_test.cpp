// The functions later than Windows 7, resolved at run time: with them hidden
// (as on Windows 7) the fallbacks answer what the older interfaces say, and at
// the system DPI they agree with the later functions where this Windows has them.
#include <gtest/gtest.h>

#include "framework/handles.h"
#include "framework/os_functions.h"
#include "framework/window.h"

namespace lumitrax {
namespace {

class Windows7Scope {
 public:
  Windows7Scope() { os::HideLaterFunctionsForTesting(true); }
  ~Windows7Scope() { os::HideLaterFunctionsForTesting(false); }
};

class PlainWindow : public TWindow {
 protected:
  void CreateParams(TCreateParams& params) override {
    TWindow::CreateParams(params);
    params.class_name = L"TOsFunctionsProbe";
    params.style = WS_OVERLAPPEDWINDOW;
  }
};

struct Answers {
  UINT system_dpi, window_dpi, monitor_dpi;
  int small_icon, caption;
  RECT frame;
  NONCLIENTMETRICSW metrics;
};

Answers Ask(HWND window) {
  Answers a{};
  a.system_dpi = os::DpiForSystem();
  a.window_dpi = os::DpiForWindow(window);
  a.monitor_dpi = os::DpiForMonitor(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
  a.small_icon = os::SystemMetricsForDpi(SM_CXSMICON, a.system_dpi);
  a.caption = os::SystemMetricsForDpi(SM_CYCAPTION, a.system_dpi);
  a.frame = RECT{0, 0, 300, 200};
  EXPECT_TRUE(os::AdjustWindowRectExForDpi(&a.frame, WS_OVERLAPPEDWINDOW, false, 0, a.system_dpi));
  a.metrics.cbSize = sizeof(a.metrics);
  EXPECT_TRUE(os::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(a.metrics), &a.metrics, a.system_dpi));
  return a;
}

TEST(OsFunctions, OnWindows7TheOlderInterfacesAnswer) {
  PlainWindow window;
  Windows7Scope windows7;
  WindowDc screen(nullptr);
  const UINT system = static_cast<UINT>(::GetDeviceCaps(screen.get(), LOGPIXELSY));
  const Answers a = Ask(window.Handle());
  EXPECT_EQ(a.system_dpi, system);
  EXPECT_EQ(a.window_dpi, system);
  EXPECT_EQ(a.monitor_dpi, system);
  EXPECT_EQ(os::DpiForWindow(nullptr), 0u);
  EXPECT_EQ(a.small_icon, ::GetSystemMetrics(SM_CXSMICON));
  RECT plain{0, 0, 300, 200};
  ::AdjustWindowRectEx(&plain, WS_OVERLAPPEDWINDOW, FALSE, 0);
  EXPECT_TRUE(::EqualRect(&a.frame, &plain));
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  EXPECT_EQ(a.metrics.lfMessageFont.lfHeight, metrics.lfMessageFont.lfHeight);
  EXPECT_EQ(a.metrics.iCaptionHeight, metrics.iCaptionHeight);
}

TEST(OsFunctions, OnWindows7TheTitleBarStaysAsTheSystemDrawsIt) {
  PlainWindow window;
  {
    Windows7Scope windows7;
    EXPECT_FALSE(os::UseImmersiveDarkMode(window.Handle(), true));
  }
  EXPECT_FALSE(os::UseImmersiveDarkMode(nullptr, true));
  // Wine's DwmSetWindowAttribute knows no such attribute; on Windows 11 the
  // call succeeds. Either way nothing breaks.
  os::UseImmersiveDarkMode(window.Handle(), false);
  EXPECT_TRUE(::IsWindow(window.Handle()));
}

TEST(OsFunctions, OnWindows7AnotherDpiScalesSizesFromTheSystemDpi) {
  Windows7Scope windows7;
  const UINT system = os::DpiForSystem();
  EXPECT_EQ(os::SystemMetricsForDpi(SM_CXSMICON, system * 2), ::GetSystemMetrics(SM_CXSMICON) * 2);
  NONCLIENTMETRICSW plain{}, doubled{};
  plain.cbSize = doubled.cbSize = sizeof(plain);
  ASSERT_TRUE(os::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(plain), &plain, system));
  ASSERT_TRUE(os::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(doubled), &doubled, system * 2));
  ASSERT_NE(plain.lfMessageFont.lfHeight, 0);
  EXPECT_EQ(doubled.lfMessageFont.lfHeight, plain.lfMessageFont.lfHeight * 2);
  EXPECT_EQ(doubled.lfMenuFont.lfHeight, plain.lfMenuFont.lfHeight * 2);
  EXPECT_EQ(doubled.iCaptionHeight, plain.iCaptionHeight * 2);
}

TEST(OsFunctions, TheFallbacksAgreeWithTheLaterFunctionsAtTheSystemDpi) {
  PlainWindow window;
  const Answers later = Ask(window.Handle());
  Answers older{};
  {
    Windows7Scope windows7;
    older = Ask(window.Handle());
  }
  EXPECT_EQ(older.system_dpi, later.system_dpi);
  EXPECT_EQ(older.window_dpi, later.window_dpi);
  EXPECT_EQ(older.monitor_dpi, later.monitor_dpi);
  EXPECT_EQ(older.small_icon, later.small_icon);
  EXPECT_EQ(older.caption, later.caption);
  EXPECT_TRUE(::EqualRect(&older.frame, &later.frame));
  EXPECT_EQ(older.metrics.lfMessageFont.lfHeight, later.metrics.lfMessageFont.lfHeight);
  EXPECT_EQ(older.metrics.iMenuHeight, later.metrics.iMenuHeight);
}

}  // namespace
}  // namespace lumitrax
