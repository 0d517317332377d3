// The program's windows in the user's theme: dark mode read from the
// Personalize key, high contrast from the system, both followed while the
// windows run; the colours the controls are given and the tray icon's grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/form_main.h"
#include "core/icon_composer.h"
#include "framework/theme.h"
#include "indicator/lock_state.h"
#include "test_support.h"
#include "user_registry.h"

namespace lumitrax {
namespace {

using testing::RunUntil;

const wchar_t* const kPersonalize = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

void TellThemeChanged(HWND window) {
  ::SendMessageW(window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
}

// What a control's parent answers it for WM_CTLCOLOR*: the brush and the text
// and background colours set on the device context.
struct ColorAnswer {
  HBRUSH brush;
  COLORREF text, back;
};
ColorAnswer AskColors(HWND control, UINT message) {
  const HDC dc = ::GetDC(control);
  ::SetTextColor(dc, RGB(1, 2, 3));
  ::SetBkColor(dc, RGB(4, 5, 6));
  const auto brush = reinterpret_cast<HBRUSH>(
      ::SendMessageW(::GetParent(control), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  const ColorAnswer answer{brush, ::GetTextColor(dc), ::GetBkColor(dc)};
  ::ReleaseDC(control, dc);
  return answer;
}

COLORREF BrushColor(HBRUSH brush) {
  LOGBRUSH log{};
  ::GetObjectW(brush, sizeof(log), &log);
  return log.lbColor;
}

class ThemeFollow : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme");
    Theme().SetForTesting(std::nullopt);
    form_ = std::make_unique<TfrmMain>();
  }
  void TearDown() override {
    form_.reset();
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme");
    Theme().SetForTesting(std::nullopt);
  }
  TfrmMain& form() { return *form_; }
  std::unique_ptr<TfrmMain> form_;
};

TEST_F(ThemeFollow, DarkModeIsReadFromThePersonalizeKeyAndFollowedWhileRunning) {
  ASSERT_EQ(Theme().Kind(), core::ThemeKind::Light);
  // Light: the system's own answers.
  EXPECT_EQ(BrushColor(AskColors(form().chbAutoRun.Handle(), WM_CTLCOLORSTATIC).brush), ::GetSysColor(COLOR_BTNFACE));

  testing::PutDword(kPersonalize, L"AppsUseLightTheme", 0);
  TellThemeChanged(form().Handle());
  ASSERT_EQ(Theme().Kind(), core::ThemeKind::Dark);
  const core::Palette dark = core::DarkPalette();
  const ColorAnswer box = AskColors(form().chbAutoRun.Handle(), WM_CTLCOLORSTATIC);
  EXPECT_EQ(BrushColor(box.brush), dark.face);
  EXPECT_EQ(box.text, dark.text);
  // A label inside a group asks the group, which answers the same.
  const ColorAnswer label = AskColors(form().lbLed1.Handle(), WM_CTLCOLORSTATIC);
  EXPECT_EQ(BrushColor(label.brush), dark.face);
  EXPECT_EQ(label.text, dark.text);
  const ColorAnswer edit = AskColors(form().edOsdOpacity.Handle(), WM_CTLCOLOREDIT);
  EXPECT_EQ(BrushColor(edit.brush), dark.edit);
  EXPECT_EQ(edit.text, dark.edit_text);
  EXPECT_EQ(edit.back, dark.edit);
  // The web link keeps a link's look, in the dark theme's link colour.
  EXPECT_EQ(AskColors(form().lbLink.Handle(), WM_CTLCOLORSTATIC).text, dark.link);

  // Another setting's change is not a theme change: nothing is read.
  testing::PutDword(kPersonalize, L"AppsUseLightTheme", 1);
  ::SendMessageW(form().Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"));
  EXPECT_EQ(Theme().Kind(), core::ThemeKind::Dark);
  TellThemeChanged(form().Handle());
  EXPECT_EQ(Theme().Kind(), core::ThemeKind::Light);
  EXPECT_EQ(BrushColor(AskColors(form().chbAutoRun.Handle(), WM_CTLCOLORSTATIC).brush), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(AskColors(form().lbLink.Handle(), WM_CTLCOLORSTATIC).text, RGB(0, 0, 255));
}

// What the window answers a button's custom-draw notice before painting.
LRESULT CustomDrawAnswer(HWND parent, HWND button) {
  const HDC dc = ::GetDC(button);
  NMCUSTOMDRAW draw{};
  draw.hdr.hwndFrom = button;
  draw.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(button));
  draw.hdr.code = NM_CUSTOMDRAW;
  draw.dwDrawStage = CDDS_PREPAINT;
  draw.hdc = dc;
  ::GetClientRect(button, &draw.rc);
  const LRESULT answer = ::SendMessageW(parent, WM_NOTIFY, draw.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));
  ::ReleaseDC(button, dc);
  return answer;
}

TEST_F(ThemeFollow, PushButtonsAreDrawnInTheDarkAndHighContrastThemesOtherButtonsAreNot) {
  // Also the plain push buttons of a message dialog, which are no objects of ours.
  const HWND plain = ::CreateWindowExW(0, L"BUTTON", L"&Yes", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 80, 24,
                                       form().Handle(), reinterpret_cast<HMENU>(4711), nullptr, nullptr);
  const HWND box = ::CreateWindowExW(0, L"BUTTON", L"Box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 30, 80, 24,
                                     form().Handle(), reinterpret_cast<HMENU>(4712), nullptr, nullptr);
  ASSERT_TRUE(plain && box);
  EXPECT_EQ(CustomDrawAnswer(form().Handle(), form().btnCapsLock.Handle()), CDRF_DODEFAULT);
  EXPECT_EQ(CustomDrawAnswer(form().Handle(), plain), CDRF_DODEFAULT);
  for (const core::ThemeKind kind : {core::ThemeKind::Dark, core::ThemeKind::HighContrast}) {
    Theme().SetForTesting(kind);
    EXPECT_EQ(CustomDrawAnswer(form().Handle(), form().btnCapsLock.Handle()), CDRF_SKIPDEFAULT);
    EXPECT_EQ(CustomDrawAnswer(form().Handle(), plain), CDRF_SKIPDEFAULT);
    EXPECT_EQ(CustomDrawAnswer(form().Handle(), box), CDRF_DODEFAULT) << "check boxes take the parent's colours";
  }
  ::DestroyWindow(plain);
  ::DestroyWindow(box);
}

TEST_F(ThemeFollow, ADamagedAppsSettingMeansLight) {
  testing::PutString(kPersonalize, L"AppsUseLightTheme", L"0");
  TellThemeChanged(form().Handle());
  EXPECT_EQ(Theme().Kind(), core::ThemeKind::Light);
}

TEST_F(ThemeFollow, ThemeMessagesAreTheOnesWindowsSendsForThem) {
  EXPECT_TRUE(TTheme::IsThemeChange(WM_THEMECHANGED, 0, 0));
  EXPECT_TRUE(TTheme::IsThemeChange(WM_SYSCOLORCHANGE, 0, 0));
  EXPECT_TRUE(TTheme::IsThemeChange(WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0));
  EXPECT_TRUE(
      TTheme::IsThemeChange(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet")));
  EXPECT_FALSE(TTheme::IsThemeChange(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0));
  EXPECT_FALSE(TTheme::IsThemeChange(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"TraySettings")));
}

// The pixels of the tray icon image with every LED lit.
std::vector<COLORREF> AllLitPixels(TfrmMain& form) {
  UniqueBitmap bitmap = form.TrayIndicator.imgsIcons.GetBitmap(core::IconAllLit);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bitmap.get());
  const int size = form.TrayIndicator.imgsIcons.Width();
  std::vector<COLORREF> pixels;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) pixels.push_back(::GetPixel(dc, x, y));
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return pixels;
}

TEST_F(ThemeFollow, HighContrastDrawsTheTrayGridInTheTextColourAndKeepsTheLedColours) {
  ASSERT_TRUE(RunUntil([&] { return !form().StartupPending(); }, 3000));
  const auto count = [](const std::vector<COLORREF>& pixels, COLORREF color) {
    return std::count(pixels.begin(), pixels.end(), color);
  };
  const std::vector<COLORREF> before = AllLitPixels(form());
  ASSERT_GT(count(before, RGB(0xD0, 0xD0, 0xD0)), 0) << "the grid in the user's grey";

  // Wine keeps no high-contrast state (SPI_SETHIGHCONTRAST is refused or not
  // reported back), so the test turns the theme on through its seam and
  // sends what Windows broadcasts after the switch.
  HIGHCONTRASTW contrast{sizeof(contrast), HCF_HIGHCONTRASTON, nullptr};
  const bool system_switch =
      ::SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
      (::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0),
       (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0);
  if (!system_switch) Theme().SetForTesting(core::ThemeKind::HighContrast);
  RecordProperty("SystemHighContrastSwitch", system_switch ? "yes" : "no");
  ::SendMessageW(form().Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  ASSERT_TRUE(Theme().HighContrast());

  const COLORREF text = Theme().Colors().text;
  const std::vector<COLORREF> after = AllLitPixels(form());
  EXPECT_EQ(count(after, RGB(0xD0, 0xD0, 0xD0)), 0);
  EXPECT_GE(count(after, text), count(before, RGB(0xD0, 0xD0, 0xD0)));
  EXPECT_EQ(count(after, RGB(255, 0, 0)), count(before, RGB(255, 0, 0))) << "the LEDs keep the user's red";
  // A lock's change draws the icon anew, still in the theme's colours.
  const bool scroll = GetLockState(3);
  testing::SetLock(VK_SCROLL, 3, !scroll);
  ASSERT_TRUE(RunUntil([&] { return form().LockMonitor.LockStates()[2] == !scroll; }, 3000));
  EXPECT_EQ(count(AllLitPixels(form()), RGB(0xD0, 0xD0, 0xD0)), 0);
  testing::SetLock(VK_SCROLL, 3, scroll);
  ASSERT_TRUE(RunUntil([&] { return form().LockMonitor.LockStates()[2] == scroll; }, 3000));
  // High contrast takes the system's colours: the link its hot-light colour.
  EXPECT_EQ(AskColors(form().lbLink.Handle(), WM_CTLCOLORSTATIC).text, ::GetSysColor(COLOR_HOTLIGHT));

  if (system_switch) {
    contrast.dwFlags = 0;
    ::SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(contrast), &contrast, 0);
  }
  Theme().SetForTesting(std::nullopt);
  ::SendMessageW(form().Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_EQ(count(AllLitPixels(form()), RGB(0xD0, 0xD0, 0xD0)), count(before, RGB(0xD0, 0xD0, 0xD0)));
}

}  // namespace
}  // namespace lumitrax
