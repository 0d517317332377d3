// The settings window of a real main window: every control of the form
// description in place with its default, the OSD group's enabling, the
// start-up gate of the change handlers, and the custom colours.
#include <gtest/gtest.h>

#include <memory>

#include "app/form_main.h"
#include "core/icon_composer.h"
#include "framework/application.h"
#include "framework/os_functions.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::Pump;
using testing::RunUntil;
using testing::WindowText;

class SettingsWindow : public ::testing::Test {
 protected:
  void SetUp() override { form_ = std::make_unique<TfrmMain>(); }
  void TearDown() override { form_.reset(); }
  TfrmMain& form() { return *form_; }
  std::unique_ptr<TfrmMain> form_;
};

// A control's place in its parent's client area, in 96-dpi pixels.
RECT PlaceIn96(HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  const int dpi = static_cast<int>(os::DpiForWindow(control));
  return RECT{::MulDiv(rect.left, 96, dpi), ::MulDiv(rect.top, 96, dpi), ::MulDiv(rect.right, 96, dpi),
              ::MulDiv(rect.bottom, 96, dpi)};
}

TEST_F(SettingsWindow, EveryControlOfTheDescriptionIsInPlaceWithItsCaptionAndTag) {
  const auto description = form().FormDescription();
  ASSERT_EQ(description.size(), 48u);
  const int growth96 = ::MulDiv(form().InfoTextGrowth(), 96, static_cast<int>(os::DpiForWindow(form().Handle())));
  // A text wider at the system's font than designed moves what stands after it
  // to the right, by no more than the window grew.
  const int wider96 = ::MulDiv(form().WidthGrowth(), 96, static_cast<int>(os::DpiForWindow(form().Handle()))) + 2;
  for (const auto& row : description) {
    SCOPED_TRACE(::testing::Message() << "control " << std::string(row.name, row.name + wcslen(row.name)));
    const HWND window = row.control.Handle();
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_EQ(row.control.Name, row.name);
    EXPECT_EQ(row.control.Tag, row.tag);
    const RECT place = PlaceIn96(window);
    // What lies below the information text moves down by as much as the
    // text needs beyond its designed room at this scale.
    const bool below_info = &row.control.Parent() == &form() && row.top >= 64;
    EXPECT_NEAR(place.top, row.top + (below_info ? growth96 : 0), 1);
    // Labels may widen to their text, the right-aligned ones to the left.
    auto* label = dynamic_cast<TLabel*>(&row.control);
    EXPECT_GE(place.left, row.left - 1);
    EXPECT_LE(place.left, row.left + wider96);
    // Drop-down lists size themselves; the information text may grow.
    if (!dynamic_cast<TComboBox*>(&row.control) && !dynamic_cast<TColorComboBox*>(&row.control) &&
        !dynamic_cast<TUpDownEdit*>(&row.control)) {
      if (&row.control == &form().lbInfo)
        EXPECT_GE(place.bottom - place.top, row.height - 1);
      else
        EXPECT_NEAR(place.bottom - place.top, row.height, 1);
      EXPECT_GE(place.right - place.left, row.width - 1);
      EXPECT_LE(place.right - place.left, row.width + wider96);
    }
    const bool shows_caption = dynamic_cast<TCheckBox*>(&row.control) || dynamic_cast<TButton*>(&row.control) ||
                               (dynamic_cast<TLabel*>(&row.control) && row.control.Name != L"lbLink");
    if (shows_caption) EXPECT_EQ(WindowText(window), row.caption);
    if (!row.hint.empty()) EXPECT_EQ(row.control.Hint, row.hint);
  }
}

TEST_F(SettingsWindow, ControlsStartWithTheirDefaults) {
  EXPECT_TRUE(form().chbAutoRun.Checked());
  EXPECT_TRUE(form().chbBeepOnSwitch.Checked());
  EXPECT_EQ(form().cmbLed1.ItemIndex(), 1);
  EXPECT_EQ(form().cmbLed2.ItemIndex(), 2);
  EXPECT_EQ(form().cmbLed3.ItemIndex(), 3);
  EXPECT_EQ(form().cmbLed1.Items(), (std::vector<std::wstring>{L"[None]", L"Num Lock", L"Caps Lock", L"Scroll Lock"}));
  for (TColorComboBox* combo : {&form().cmbColor1, &form().cmbColor2, &form().cmbColor3}) {
    EXPECT_EQ(combo->SelectedColor(), 0x0000FFu);
    EXPECT_EQ(combo->CustomColor(), 0x4080FFu);
  }
  EXPECT_EQ(form().cmbColorGrid.SelectedColor(), 0xD0D0D0u);
  EXPECT_EQ(form().cmbColorGrid.ItemIndex(), 0) << "the grid colour is the custom entry's";
  EXPECT_TRUE(form().chbIconMarks.Checked());
  EXPECT_TRUE(form().grpOsd.CheckBoxChecked());
  EXPECT_FALSE(form().chbOsdLed1.Checked());
  EXPECT_TRUE(form().chbOsdLed2.Checked());
  EXPECT_FALSE(form().chbOsdLed3.Checked());
  EXPECT_TRUE(form().chbOsdAutoHide.Checked());
  EXPECT_FALSE(form().chbOsdHideAfter.Checked());
  EXPECT_EQ(form().edOsdHideAfter.Position(), 3);
  EXPECT_EQ(form().edOsdHideAfter.Min(), 1);
  EXPECT_EQ(form().edOsdHideAfter.Max(), 60);
  EXPECT_EQ(form().cmbOsdSize.ItemIndex(), 3);
  EXPECT_EQ(form().cmbOsdSize.Items()[3], L"[Normal]");
  EXPECT_EQ(form().cmbOsdBody.SelectedColor(), 0x0000FFu);
  EXPECT_EQ(form().cmbOsdText.SelectedColor(), 0xFFFFFFu);
  EXPECT_EQ(form().cmbOsdBody.CustomColor(), 0x404040u);
  EXPECT_EQ(form().edOsdOpacity.Position(), 80);
  EXPECT_EQ(form().edOsdOpacity.Max(), 100);
  EXPECT_FALSE(::IsWindowVisible(form().pnWebBrowser.Handle()));
  EXPECT_FALSE(::IsWindowVisible(form().imgLedOn.Handle()));
  EXPECT_NE(form().imgLedOn.Picture(), nullptr);
  EXPECT_NE(form().imgFaceBook.Picture(), nullptr);
  EXPECT_EQ(form().imgTrayIcon.ImageIndex(), 1);
}

TEST_F(SettingsWindow, UncheckingTheOsdGroupDisablesEveryControlInItAndCheckingEnablesThem) {
  TControl* children[] = {&form().chbOsdLed1, &form().chbOsdAutoHide, &form().edOsdHideAfter,
                          &form().cmbOsdSize, &form().cmbOsdBody,     &form().edOsdOpacity};
  form().grpOsd.SetCheckBoxChecked(false);
  for (TControl* child : children) EXPECT_FALSE(::IsWindowEnabled(child->Handle())) << WindowText(child->Handle());
  form().grpOsd.SetCheckBoxChecked(true);
  for (TControl* child : children) EXPECT_TRUE(::IsWindowEnabled(child->Handle())) << WindowText(child->Handle());
  // Nothing outside the group is touched.
  EXPECT_TRUE(::IsWindowEnabled(form().cmbColor1.Handle()));
}

COLORREF AllLitPixel(TfrmMain& form) {
  UniqueBitmap bitmap = form.TrayIndicator.imgsIcons.GetBitmap(core::IconAllLit);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bitmap.get());
  // Inside the first LED cell, marks on, at the images' size.
  const core::Rect cell = core::LayoutForSize(form.TrayIndicator.imgsIcons.Width()).LedRect(true, 0);
  const COLORREF pixel = ::GetPixel(dc, cell.left + 1, (cell.top + cell.bottom) / 2);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return pixel;
}

TEST_F(SettingsWindow, TrayChangesDrawNothingDuringStartUpAndRedrawAtOnceAfterIt) {
  ASSERT_TRUE(form().StartupPending());
  EXPECT_EQ(AllLitPixel(form()), RGB(255, 0, 0));
  form().cmbColor1.SetSelectedColor(0xFF0000);  // blue, while starting
  EXPECT_EQ(AllLitPixel(form()), RGB(255, 0, 0));
  ASSERT_TRUE(RunUntil([&] { return !form().StartupPending(); }, 3000));
  // The end of start-up draws what the controls say.
  EXPECT_EQ(AllLitPixel(form()), RGB(0, 0, 255));
  form().cmbColor1.SetSelectedColor(0x00FF00);
  EXPECT_EQ(AllLitPixel(form()), RGB(0, 255, 0));
}

TEST_F(SettingsWindow, AColourOfTheMagentaKeyStillShows) {
  ASSERT_TRUE(RunUntil([&] { return !form().StartupPending(); }, 3000));
  form().cmbColor1.SetSelectedColor(0xFF00FF);
  EXPECT_EQ(form().TrayIndicator.TransparentColor(), 0x123456u);
  EXPECT_EQ(AllLitPixel(form()), RGB(255, 0, 255));
  form().cmbColor1.SetSelectedColor(0x0000FF);
  EXPECT_EQ(form().TrayIndicator.TransparentColor(), 0xFF00FFu);
}

TEST_F(SettingsWindow, AdoptCustomColorsSelectsTheCustomEntryForAnUnlistedColourWithoutAChange) {
  form().cmbOsdBody.SetSelectedColor(0x123456);
  ASSERT_EQ(form().cmbOsdBody.ItemIndex(), -1);
  int changes = 0;
  form().cmbOsdBody.OnChange = [&](TComponent&) { ++changes; };
  form().AdoptCustomColors();
  EXPECT_EQ(form().cmbOsdBody.ItemIndex(), 0);
  EXPECT_EQ(form().cmbOsdBody.CustomColor(), 0x123456u);
  EXPECT_EQ(form().cmbOsdBody.SelectedColor(), 0x123456u);
  EXPECT_EQ(changes, 0);
  // A listed colour keeps its entry.
  EXPECT_EQ(form().cmbColor1.ItemCaption(form().cmbColor1.ItemIndex()), "Red");
}

TEST_F(SettingsWindow, LinkIsUnderlinedOnlyUnderTheMouse) {
  const HWND link = form().lbLink.Handle();
  ::SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(form().lbLink.Underline());
  ::SendMessageW(link, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(form().lbLink.Underline());
  EXPECT_EQ(form().lbLink.FontColor(), RGB(0, 0, 255));
}

TEST_F(SettingsWindow, ClientAreaIs332By503At96DpiScalesWithTheDpiAndGrowsForTheInformationText) {
  const HWND window = form().Handle();
  const int dpi = static_cast<int>(os::DpiForWindow(window));
  RECT client{};
  ::GetClientRect(window, &client);
  // Wider only by what texts at the system's font need beyond the design.
  EXPECT_EQ(client.right, ::MulDiv(332, dpi, 96) + form().WidthGrowth());
  EXPECT_LT(form().WidthGrowth(), ::MulDiv(20, dpi, 96)) << "English fits its design within a few pixels";
  // Taller by what the information text needs beyond its designed room.
  EXPECT_EQ(client.bottom, ::MulDiv(503, dpi, 96) + form().InfoTextGrowth());
  EXPECT_LT(form().InfoTextGrowth(), ::MulDiv(30, dpi, 96)) << "at most a line or two more";
  // The controls keep their proportions: the lock buttons end where they should.
  const RECT scroll = PlaceIn96(form().btnScrollLock.Handle());
  EXPECT_NEAR(scroll.right, 319, 1);
  EXPECT_NEAR(client.bottom - ::MulDiv(scroll.bottom, dpi, 96), ::MulDiv(503 - 461, dpi, 96), 2);
}

}  // namespace
}  // namespace lumitrax
