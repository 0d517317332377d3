// The program at the screen's scale and on a monitor of another scale: the
// tray's images at the taskbar's small-icon size, the settings window laid out
// again on WM_DPICHANGED, the display's size following its DPI, and every text
// of the settings window whole. Run at 96, 120, 144 and 192 dpi by the test script.
#include <gtest/gtest.h>

#include <memory>

#include "app/form_main.h"
#include "core/icon_composer.h"
#include "framework/application.h"
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
    default: return core::NearestTrayIconSize(::GetSystemMetricsForDpi(SM_CXSMICON, dpi));
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
  const UINT dpi = ::GetDpiForSystem();
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
}

TEST_F(DpiScaling, EveryTextOfTheSettingsWindowShowsWhole) {
  form().Show();
  ASSERT_TRUE(RunUntil([&] { return form().Visible(); }, 3000));
  const auto clipped = FindClippedTexts(form().Handle());
  EXPECT_TRUE(clipped.empty()) << "at " << ::GetDpiForSystem() << " dpi:\n" << DescribeClippedTexts(clipped);
}

}  // namespace
}  // namespace lumitrax
