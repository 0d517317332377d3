// The program at the screen's scale and on a monitor of another scale: the
// tray's images at the taskbar's small-icon size, the settings window laid out
// again on WM_DPICHANGED, the display's size following its DPI, and every text
// of the settings window whole. Run at 96, 120, 144 and 192 dpi by the test script.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "app/form_main.h"
#include "core/icon_composer.h"
#include "core/masked_image.h"
#include "core/settings_views.h"
#include "framework/application.h"
#include "framework/os_functions.h"
#include "test_support.h"
#include "text_fit.h"

namespace lumitrax {
namespace {

using testing::DescribeClippedTexts;
using testing::FindClippedTexts;
using testing::RunUntil;

class DpiScaling : public ::testing::Test {
 protected:
  void SetUp() override { form_ = std::make_unique<TfrmMain>(); }
  void TearDown() override { form_.reset(); }
  TfrmMain& form() { return *form_; }
  std::unique_ptr<TfrmMain> form_;
};

// The tray's image size Windows' own small icons take at the screen's scale.
int ExpectedTraySize(UINT dpi) {
  switch (dpi) {
    case 96: return 16;
    case 120: return 20;
    case 144: return 24;
    case 192: return 32;
    default: return core::NearestTrayIconSize(os::SystemMetricsForDpi(SM_CXSMICON, dpi));
  }
}

RECT ChildRect(HWND child) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return {};
  BITMAP bitmap{};
  ::GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

TEST_F(DpiScaling, TrayImagesTakeTheTaskbarsSmallIconSizeAndThePreviewShowsThemCentred) {
  const UINT dpi = os::DpiForSystem();
  const int size = ExpectedTraySize(dpi);
  EXPECT_EQ(TTrayIndicator::TrayImageSize(), size) << "at " << dpi << " dpi";
  const TImageList& icons = form().TrayIndicator.imgsIcons;
  EXPECT_EQ(icons.Width(), size);
  EXPECT_EQ(icons.Height(), size);
  ASSERT_EQ(icons.Count(), 3);
  // The notification area gets the image at that size, not one to stretch.
  const SIZE shown = IconSize(form().TrayIndicator.TrayIcon.Icon());
  EXPECT_EQ(shown.cx, size);
  EXPECT_EQ(shown.cy, size);
  // The preview: the same picture, centred in its panel.
  const RECT image = ChildRect(form().imgTrayIcon.Handle());
  RECT panel{};
  ::GetClientRect(form().pnTrayIcon.Handle(), &panel);
  EXPECT_EQ(image.right - image.left, size);
  EXPECT_EQ(image.bottom - image.top, size);
  EXPECT_EQ(image.left, (panel.right - size) / 2);
  EXPECT_EQ(image.top, (panel.bottom - size) / 2);
  EXPECT_EQ(IconSize(form().imgTrayIcon.PictureIcon()).cx, size);

  // Drawn on white, the notification-area icon is the composition: its
  // transparent pixels show the white, grid and marks their colour.
  const core::TrayIconSettings settings = core::TrayIconSettingsOf(form().CurrentSettings());
  const auto composed = core::ComposeTrayIcons(settings, form().LockMonitor.LockStates(),
                                               form().TrayIndicator.TransparentColor(), size);
  WindowDc screen(nullptr);
  UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  UniqueBitmap canvas(::CreateCompatibleBitmap(screen.get(), size, size));
  SelectObjectScope select(dc.get(), canvas.get());
  const RECT all{0, 0, size, size};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::DrawIconEx(dc.get(), 0, 0, form().TrayIndicator.TrayIcon.Icon(), size, size, 0, nullptr, DI_NORMAL);
  int wrong = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const bool opaque = composed[core::IconCurrent].Mask.At(x, y) == core::MaskOpaque;
      const COLORREF expected = opaque ? composed[core::IconCurrent].Image.At(x, y) : RGB(255, 255, 255);
      if (::GetPixel(dc.get(), x, y) != expected) ++wrong;
    }
  EXPECT_EQ(wrong, 0) << "pixels of the " << size << "-pixel icon unlike its composition";
}

TEST_F(DpiScaling, EveryTextOfTheSettingsWindowShowsWhole) {
  form().Show();
  ASSERT_TRUE(RunUntil([&] { return form().Visible(); }, 3000));
  const auto clipped = FindClippedTexts(form().Handle());
  EXPECT_TRUE(clipped.empty()) << "at " << os::DpiForSystem() << " dpi:\n" << DescribeClippedTexts(clipped);
}

// Every descendant window's rectangle in its parent's client area, in
// creation order.
std::vector<std::pair<HWND, RECT>> ChildPlaces(HWND window) {
  std::vector<std::pair<HWND, RECT>> places;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<std::pair<HWND, RECT>>*>(list)->emplace_back(child, ChildRect(child));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&places));
  return places;
}

LONG FontHeight(HWND control) {
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW log{};
  if (!font || !::GetObjectW(font, sizeof log, &log)) return 0;
  return log.lfHeight;
}

// The scale of the monitor the window moves to: half the 96-dpi step up.
// (Down would not do under Wine: its check boxes draw their box at the
// system's scale whatever the window's, which a real system does not.)
UINT OtherDpi(UINT dpi) { return dpi + 48; }

// What Windows suggests for a window of this client size at `dpi`.
RECT Suggested(HWND window, POINT at, int client_width, int client_height, UINT dpi) {
  RECT frame{0, 0, client_width, client_height};
  os::AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), false,
                             static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE)), dpi);
  return RECT{at.x, at.y, at.x + frame.right - frame.left, at.y + frame.bottom - frame.top};
}

TEST_F(DpiScaling, TheSettingsWindowTakesTheSuggestedRectangleAndLaysOutEveryControlAtTheNewScale) {
  const HWND window = form().Handle();
  form().Show();
  const UINT before = os::DpiForWindow(window);
  const UINT after = OtherDpi(before);
  const auto places_before = ChildPlaces(window);
  RECT frame_before{};
  ::GetWindowRect(window, &frame_before);

  RECT suggested = Suggested(window, {40, 30}, ::MulDiv(332, after, 96), ::MulDiv(503, after, 96), after);
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(after, after), reinterpret_cast<LPARAM>(&suggested));

  RECT frame{}, client{};
  ::GetWindowRect(window, &frame);
  ::GetClientRect(window, &client);
  // At the suggested corner, with the client area of the design at the new
  // scale (the suggestion's size where the frame scales as the system's does),
  // taller only by what the information text needs beyond its room.
  EXPECT_EQ(frame.left, suggested.left);
  EXPECT_EQ(frame.top, suggested.top);
  EXPECT_EQ(client.right, ::MulDiv(332, after, 96) + form().WidthGrowth());
  EXPECT_LT(form().WidthGrowth(), ::MulDiv(20, after, 96));
  EXPECT_EQ(client.bottom, ::MulDiv(503, after, 96) + form().InfoTextGrowth());
  // Controls at the new scale: the lock buttons, a list inside a group, the group itself.
  const RECT scroll = ChildRect(form().btnScrollLock.Handle());
  EXPECT_NEAR(scroll.left, ::MulDiv(224, after, 96), 1);
  EXPECT_NEAR(scroll.right - scroll.left, ::MulDiv(95, after, 96), 1);
  EXPECT_NEAR(scroll.bottom - scroll.top, ::MulDiv(25, after, 96), 1);
  EXPECT_NEAR(client.bottom - scroll.bottom, ::MulDiv(503 - 461, after, 96), 2);
  const RECT list = ChildRect(form().cmbColorGrid.Handle());
  // A label whose text is a pixel or two wider at this scale than designed
  // moves the column after it by as much.
  EXPECT_GE(list.left, ::MulDiv(204, after, 96) - 1);
  EXPECT_LE(list.left, ::MulDiv(204, after, 96) + ::MulDiv(4, after, 96));
  EXPECT_NEAR(list.right - list.left, ::MulDiv(100, after, 96), 1);
  EXPECT_EQ(::SendMessageW(form().cmbColorGrid.Handle(), CB_GETITEMHEIGHT, 0, 0), ::MulDiv(17, after, 96));
  const RECT group = ChildRect(form().grpOsd.Handle());
  EXPECT_NEAR(group.right - group.left, ::MulDiv(316, after, 96) + form().WidthGrowth(), 1);
  // Fonts of the new size: the window's, and the link's own.
  EXPECT_EQ(FontHeight(form().chbAutoRun.Handle()), -::MulDiv(12, after, 96));
  EXPECT_EQ(FontHeight(form().cmbLed1.Handle()), -::MulDiv(12, after, 96));
  EXPECT_EQ(FontHeight(form().lbLink.Handle()), -::MulDiv(12, after, 96));
  // The lock buttons' glyphs at the new size.
  BITMAP glyph{};
  ASSERT_TRUE(::GetObjectW(form().btnCapsLock.Glyph(), sizeof glyph, &glyph));
  EXPECT_EQ(glyph.bmWidth, core::NearestTrayIconSize(::MulDiv(16, after, 96)));
  // Every text still whole, on the scales the window is made for.
  if (after <= 192) {
    const auto clipped = FindClippedTexts(window);
    EXPECT_TRUE(clipped.empty()) << "at " << after << " dpi:\n" << DescribeClippedTexts(clipped);
  }

  // And back: every control exactly where it was.
  suggested = RECT{frame_before.left, frame_before.top, frame_before.right, frame_before.bottom};
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(before, before), reinterpret_cast<LPARAM>(&suggested));
  const auto places_back = ChildPlaces(window);
  ASSERT_EQ(places_back.size(), places_before.size());
  for (size_t i = 0; i < places_back.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "child " << i);
    EXPECT_TRUE(::EqualRect(&places_back[i].second, &places_before[i].second));
  }
  RECT frame_back{};
  ::GetWindowRect(window, &frame_back);
  EXPECT_TRUE(::EqualRect(&frame_back, &frame_before));
  EXPECT_EQ(FontHeight(form().chbAutoRun.Handle()), -::MulDiv(12, before, 96));
}

TEST_F(DpiScaling, TheDisplaysSizeFollowsItsDpiAndItStaysInsideItsWorkArea) {
  ASSERT_TRUE(form().OsdController.OsdExists());
  form().Show();  // the display shows its preview
  TfrmOsd& osd = *form().OsdController.frmOsd;
  const HWND window = osd.Handle();
  ASSERT_TRUE(RunUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 3000));
  const UINT before = os::DpiForWindow(window);
  const UINT after = before * 2;
  RECT frame_before{};
  ::GetWindowRect(window, &frame_before);
  const SIZE size_before{frame_before.right - frame_before.left, frame_before.bottom - frame_before.top};

  // Windows suggests the same corner on the new monitor, here near the work area's bottom-right corner.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  RECT suggested{work.right - size_before.cx, work.bottom - size_before.cy, work.right + size_before.cx,
                 work.bottom + size_before.cy};
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(after, after), reinterpret_cast<LPARAM>(&suggested));
  RECT frame{};
  ::GetWindowRect(window, &frame);
  const double width_ratio = double(frame.right - frame.left) / size_before.cx;
  const double height_ratio = double(frame.bottom - frame.top) / size_before.cy;
  EXPECT_GT(width_ratio, 1.7);
  EXPECT_LT(width_ratio, 2.3);
  EXPECT_GT(height_ratio, 1.7);
  EXPECT_LT(height_ratio, 2.3);
  EXPECT_LE(frame.right, work.right);
  EXPECT_LE(frame.bottom, work.bottom);
  EXPECT_GE(frame.left, work.left);
  EXPECT_GE(frame.top, work.top);

  // Back at the first scale, the first size exactly, at the suggested corner.
  suggested = frame_before;
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(before, before), reinterpret_cast<LPARAM>(&suggested));
  ::GetWindowRect(window, &frame);
  EXPECT_TRUE(::EqualRect(&frame, &frame_before));
}

}  // namespace
}  // namespace lumitrax
