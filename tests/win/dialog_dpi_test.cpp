// The About dialog and the message dialog on a monitor of another scale, and
// the About dialog's icon: made for the dialog at the size it shows, not the
// process's shared copy, and gone with the dialog. Wine has one DPI for every
// monitor, so the move is a sent WM_DPICHANGED, as Windows sends it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/form_main.h"
#include "framework/message_dialog.h"
#include "framework/os_functions.h"
#include "framework/timer.h"
#include "test_support.h"
#include "text_fit.h"
#include "web/form_about.h"

namespace lumitrax {
namespace {

using testing::DescribeClippedTexts;
using testing::FindClippedTexts;

RECT ChildRect(HWND child) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The real size of an icon's pictures.
SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!icon || !::GetIconInfo(icon, &info)) return {};
  BITMAP bitmap{};
  ::GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

LONG FontHeight(HWND control) {
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW log{};
  if (!font || !::GetObjectW(font, sizeof log, &log)) return 0;
  return log.lfHeight;
}

// What Windows suggests when a window moves to a monitor of `after` dpi: the
// same corner, the whole frame scaled as it is.
RECT ScaledSuggestion(HWND window, POINT at, UINT before, UINT after) {
  RECT frame{};
  ::GetWindowRect(window, &frame);
  return RECT{at.x, at.y, at.x + ::MulDiv(frame.right - frame.left, static_cast<int>(after), static_cast<int>(before)),
              at.y + ::MulDiv(frame.bottom - frame.top, static_cast<int>(after), static_cast<int>(before))};
}

void SendDpiChanged(HWND window, UINT dpi, RECT suggested) {
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

class DialogScale : public ::testing::Test {
 protected:
  void SetUp() override { form_ = std::make_unique<TfrmMain>(); }
  void TearDown() override { form_.reset(); }
  TfrmMain& form() { return *form_; }

  void RunAbout(const std::function<void(TfrmAbout&)>& while_open) {
    TTimer poll(50);
    poll.OnTimer = [&](TComponent&) {
      TfrmAbout* about = OpenAboutDialog();
      if (!about || !about->Visible()) return;
      poll.SetEnabled(false);
      while_open(*about);
      about->btnOK.OnClick(about->btnOK);
    };
    form().actAboutExecute();
  }
  std::unique_ptr<TfrmMain> form_;
};

// What the About dialog's layout promises at any scale.
void ExpectAboutLaidOut(TfrmAbout& about, UINT dpi) {
  SCOPED_TRACE(::testing::Message() << "at " << dpi << " dpi");
  EXPECT_EQ(about.Dpi(), dpi);
  RECT client{};
  ::GetClientRect(about.Handle(), &client);
  const RECT title = ChildRect(about.lbTitle.Handle()), info = ChildRect(about.lbInfo.Handle()),
             copyright = ChildRect(about.lbCopyright.Handle()), ok = ChildRect(about.btnOK.Handle()),
             icon = ChildRect(about.imgIcon.Handle());
  // The design at this scale: the icon's box, the column right of it, the
  // margin right of the column, the button under its middle.
  const int box = ::MulDiv(128, static_cast<int>(dpi), 96);
  EXPECT_EQ(icon.right - icon.left, box);
  EXPECT_EQ(icon.bottom - icon.top, box);
  const SIZE picture = IconSize(about.imgIcon.Icon());
  EXPECT_EQ(picture.cx, box) << "the icon's picture is stretched";
  EXPECT_EQ(picture.cy, box);
  EXPECT_EQ(title.left + title.right, info.left + info.right);
  EXPECT_EQ(info.left + info.right, copyright.left + copyright.right);
  // (The design's button sits half a 96-dpi pixel off the column's centre,
  // which grows with the scale.)
  EXPECT_NEAR((ok.left + ok.right) / 2, (info.left + info.right) / 2, 1 + static_cast<int>(dpi) / 144);
  EXPECT_GE(info.left, icon.right);
  EXPECT_NEAR(client.right - info.right, ::MulDiv(332 - 324, static_cast<int>(dpi), 96), 1);
  EXPECT_GE(client.right, ::MulDiv(332, static_cast<int>(dpi), 96));
  EXPECT_GE(ok.top, copyright.bottom);
  EXPECT_LE(ok.bottom, client.bottom);
  EXPECT_EQ(FontHeight(about.lbVersion.Handle()), -::MulDiv(12, static_cast<int>(dpi), 96));
  EXPECT_EQ(FontHeight(about.lbTitle.Handle()), -::MulDiv(21, static_cast<int>(dpi), 96));
  if (dpi <= 192) {
    const auto clipped = FindClippedTexts(about.Handle());
    EXPECT_TRUE(clipped.empty()) << DescribeClippedTexts(clipped);
  }
}

TEST_F(DialogScale, TheAboutDialogIsMadeAtItsMonitorsScaleAndLaidOutWholeAgainOnAnother) {
  form().Show();
  RunAbout([&](TfrmAbout& about) {
    const HWND window = about.Handle();
    const UINT before = os::DpiForMonitor(::MonitorFromWindow(form().Handle(), MONITOR_DEFAULTTONEAREST));
    ExpectAboutLaidOut(about, before);
    RECT frame_before{};
    ::GetWindowRect(window, &frame_before);
    const auto places_before = std::vector<RECT>{ChildRect(about.lbInfo.Handle()), ChildRect(about.btnOK.Handle())};

    for (const UINT after : {before + 48, before * 2}) {
      const RECT suggested = ScaledSuggestion(window, {40, 30}, about.Dpi(), after);
      SendDpiChanged(window, after, suggested);
      RECT frame{};
      ::GetWindowRect(window, &frame);
      EXPECT_EQ(frame.left, suggested.left);
      EXPECT_EQ(frame.top, suggested.top);
      ExpectAboutLaidOut(about, after);
    }

    // Back on the first monitor: exactly as it was made there.
    SendDpiChanged(window, before, frame_before);
    RECT frame_back{};
    ::GetWindowRect(window, &frame_back);
    EXPECT_TRUE(::EqualRect(&frame_back, &frame_before));
    const RECT info = ChildRect(about.lbInfo.Handle()), ok = ChildRect(about.btnOK.Handle());
    EXPECT_TRUE(::EqualRect(&info, &places_before[0]));
    EXPECT_TRUE(::EqualRect(&ok, &places_before[1]));
    ExpectAboutLaidOut(about, before);
  });
}

TEST_F(DialogScale, TheAboutIconIsTheDialogsOwnAtItsSizeAndGoesWithIt) {
  // The process has loaded "A" at the standard size already (the application
  // object); one more shared load at 32 pixels, as a shell would.
  const HICON shared = static_cast<HICON>(
      ::LoadImageW(::GetModuleHandleW(nullptr), L"A", IMAGE_ICON, 32, 32, LR_SHARED));
  ASSERT_NE(shared, nullptr);
  HICON shown = nullptr;
  SIZE size{};
  int expected = 0;
  RunAbout([&](TfrmAbout& about) {
    shown = about.imgIcon.Icon();
    size = IconSize(shown);
    expected = about.imgIcon.Scale(128);
  });
  ASSERT_NE(shown, nullptr);
  EXPECT_NE(shown, shared);
  EXPECT_EQ(size.cx, expected);
  EXPECT_EQ(size.cy, expected);
  // Destroyed with the dialog: a shared icon would live on to the process's end.
  ICONINFO info{};
  EXPECT_FALSE(::GetIconInfo(shown, &info)) << "the icon outlived its dialog";
  EXPECT_EQ(IconSize(shared).cx, 32) << "the shared copy is untouched";
}

TEST(MessageDialogScale, IsLaidOutWholeAgainOnAMonitorOfAnotherScale) {
  MessageDialogParams params;
  params.caption = L"Lumitrax";
  params.text = L"Do you really want to close \"Lumitrax\" program and disable all its features?";
  params.icon = ::LoadIconW(nullptr, IDI_QUESTION);
  params.buttons = {L"&Yes", L"&No"};
  params.default_button = 1;
  params.cancel_button = 1;

  struct Seen {
    UINT dpi = 0;
    LONG font = 0, expected_font = 0;
    std::vector<RECT> buttons;
    RECT text{}, client{}, frame{}, suggested{};
    std::vector<testing::ClippedText> clipped;
  };
  std::vector<Seen> seen;
  TTimer answer(50);
  answer.OnTimer = [&](TComponent&) {
    const HWND dialog = ActiveMessageDialog();
    if (!dialog || !::IsWindowVisible(dialog)) return;
    answer.SetEnabled(false);
    const UINT before = os::DpiForWindow(dialog);
    for (const UINT dpi : {before, before + 48, before * 2, before}) {
      Seen now;
      now.dpi = dpi;
      if (dpi != TWindow::FromHandle(dialog)->Dpi()) {
        now.suggested = ScaledSuggestion(dialog, {50, 40}, TWindow::FromHandle(dialog)->Dpi(), dpi);
        SendDpiChanged(dialog, dpi, now.suggested);
      }
      NONCLIENTMETRICSW metrics{};
      metrics.cbSize = sizeof metrics;
      os::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, dpi);
      now.expected_font = metrics.lfMessageFont.lfHeight;
      for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[32] = {};
        ::GetClassNameW(child, kind, 32);
        if (std::wstring(kind) == L"Button") now.buttons.push_back(ChildRect(child));
        if (std::wstring(kind) == L"Static") {
          now.text = ChildRect(child);
          now.font = FontHeight(child);
        }
      }
      ::GetClientRect(dialog, &now.client);
      ::GetWindowRect(dialog, &now.frame);
      if (dpi <= 192) now.clipped = FindClippedTexts(dialog);
      seen.push_back(now);
    }
    ::PostMessageW(dialog, WM_CLOSE, 0, 0);
  };
  EXPECT_EQ(MessageDialog(params), 1);
  ASSERT_EQ(seen.size(), 4u);
  for (const Seen& at : seen) {
    SCOPED_TRACE(::testing::Message() << "at " << at.dpi << " dpi");
    const int dpi = static_cast<int>(at.dpi);
    EXPECT_EQ(at.font, at.expected_font) << "the text keeps a font of another scale";
    ASSERT_EQ(at.buttons.size(), 2u);
    for (const RECT& button : at.buttons) {
      EXPECT_EQ(button.bottom - button.top, ::MulDiv(25, dpi, 96));
      EXPECT_GE(button.right - button.left, ::MulDiv(75, dpi, 96));
      EXPECT_LE(button.right, at.client.right);
      EXPECT_LE(button.bottom, at.client.bottom);
      EXPECT_GE(button.top, at.text.bottom);
    }
    // The margin below the buttons at this scale. (At least: the frame is
    // sized for the new scale's caption, which Wine keeps at the system's,
    // so under Wine the client area comes out taller.)
    EXPECT_GE(at.client.bottom - at.buttons[0].bottom, ::MulDiv(11, dpi, 96) - 1);
    EXPECT_GE(at.text.left, ::MulDiv(11 + 32 + 11, dpi, 96) - 1) << "the text is over the icon";
    EXPECT_TRUE(at.clipped.empty()) << DescribeClippedTexts(at.clipped);
    if (at.suggested.right != 0) {
      EXPECT_EQ(at.frame.left, at.suggested.left);
      EXPECT_EQ(at.frame.top, at.suggested.top);
    }
  }
  // Back at the first scale: the first layout exactly.
  EXPECT_TRUE(::EqualRect(&seen[3].buttons[0], &seen[0].buttons[0]));
  EXPECT_TRUE(::EqualRect(&seen[3].text, &seen[0].text));
  EXPECT_EQ(seen[3].client.right, seen[0].client.right);
  EXPECT_EQ(seen[3].client.bottom, seen[0].client.bottom);
}

}  // namespace
}  // namespace lumitrax
