// The text-fit check itself: it must find a text cut by its control, and only that.
#include <gtest/gtest.h>

#include "text_fit.h"

namespace lumitrax {
namespace {

using testing::DescribeClippedTexts;
using testing::FindClippedTexts;

class TextFit : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    LOGFONTW log{};
    log.lfHeight = -16;
    wcscpy_s(log.lfFaceName, L"Arial");
    font_ = ::CreateFontIndirectW(&log);
  }
  void TearDown() override {
    ::DestroyWindow(parent_);
    ::DeleteObject(font_);
  }
  HWND Add(const wchar_t* cls, const wchar_t* text, DWORD style, int width, int height) {
    const HWND child = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, next_top_, width, height,
                                         parent_, nullptr, nullptr, nullptr);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    next_top_ += height + 4;
    return child;
  }
  HWND parent_ = nullptr;
  HFONT font_ = nullptr;
  int next_top_ = 0;
};

const wchar_t* const Slogan = L"Keyboard lights for every PC";

TEST_F(TextFit, RoomyControlsPassAndEachCutTextIsReportedOnce) {
  Add(L"STATIC", Slogan, SS_CENTER, 400, 40);
  Add(L"STATIC", Slogan, SS_LEFTNOWORDWRAP, 400, 24);
  Add(L"BUTTON", L"OK", BS_PUSHBUTTON, 100, 32);
  Add(L"BUTTON", L"Show marks", BS_AUTOCHECKBOX, 300, 24);
  Add(L"STATIC", L"", SS_LEFT, 1, 1);  // no text, nothing to cut
  const HWND hidden = Add(L"STATIC", Slogan, SS_LEFT, 10, 10);
  ::ShowWindow(hidden, SW_HIDE);
  EXPECT_EQ(DescribeClippedTexts(FindClippedTexts(parent_)), "");

  // A wrapping label one line high: the second line is lost below it.
  const HWND wrapped = Add(L"STATIC", Slogan, SS_CENTER, 120, 22);
  // A single line wider than its label.
  const HWND single = Add(L"STATIC", Slogan, SS_LEFTNOWORDWRAP, 120, 24);
  // A word longer than a wrapping label is wide.
  const HWND word = Add(L"STATIC", L"Notification", SS_LEFT, 30, 200);
  // A check box whose text runs under its right edge once the box is drawn.
  const HWND check = Add(L"BUTTON", L"Show marks", BS_AUTOCHECKBOX, 80, 24);
  const HWND button = Add(L"BUTTON", L"Cancel the whole thing", BS_PUSHBUTTON, 60, 32);
  // A static text under a class name of its own, as the program's labels are.
  WNDCLASSEXW super{};
  super.cbSize = sizeof(super);
  ASSERT_TRUE(::GetClassInfoExW(nullptr, L"STATIC", &super));
  super.lpszClassName = L"TextFitLabel";
  super.hInstance = ::GetModuleHandleW(nullptr);
  ::RegisterClassExW(&super);
  const HWND label = Add(L"TextFitLabel", Slogan, SS_CENTER, 120, 22);
  const auto clipped = FindClippedTexts(parent_);
  ASSERT_EQ(clipped.size(), 6u) << DescribeClippedTexts(clipped);
  EXPECT_EQ(clipped[5].window, label);
  EXPECT_EQ(clipped[0].window, wrapped);
  EXPECT_GT(clipped[0].needed.cy, 22);
  EXPECT_LE(clipped[0].needed.cx, 120) << "wrapped at the label's width";
  EXPECT_EQ(clipped[1].window, single);
  EXPECT_GT(clipped[1].needed.cx, 120);
  EXPECT_EQ(clipped[2].window, word);
  EXPECT_EQ(clipped[3].window, check);
  EXPECT_EQ(clipped[3].kind, L"check box");
  EXPECT_EQ(clipped[4].window, button);
  EXPECT_NE(DescribeClippedTexts(clipped).find("\"Keyboard lights for every PC\" (static) needs"), std::string::npos);
}

TEST_F(TextFit, ALabelWhoseTextFitsCanStillBeHiddenUnderAnotherControl) {
  const HWND intro = Add(L"STATIC", Slogan, SS_LEFT, 120, 60);  // two lines, room for three
  const HWND beside = Add(L"BUTTON", L"Beside", BS_AUTOCHECKBOX, 100, 24);
  ::SetWindowPos(beside, nullptr, 130, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Add(L"BUTTON", L"Frame", BS_GROUPBOX, 300, 100);  // a frame round both hides nothing
  EXPECT_EQ(DescribeClippedTexts(FindClippedTexts(parent_)), "");

  // A check box over the label's second line.
  const HWND check = Add(L"BUTTON", L"Show marks", BS_AUTOCHECKBOX, 240, 24);
  ::SetWindowPos(check, nullptr, 0, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const auto clipped = FindClippedTexts(parent_);
  ASSERT_EQ(clipped.size(), 1u) << DescribeClippedTexts(clipped);
  EXPECT_EQ(clipped[0].window, intro);
  EXPECT_EQ(clipped[0].kind, L"static under \"Show marks\"");
  EXPECT_EQ(clipped[0].available.cy, 24);
}

TEST_F(TextFit, TheWindowCaptionCountsToo) {
  const HWND window = ::CreateWindowExW(0, L"STATIC", L"A caption far too long for so narrow a window",
                                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 120, 80, nullptr, nullptr,
                                        nullptr, nullptr);
  const auto clipped = FindClippedTexts(window);
  ::SetWindowTextW(window, L"About");
  const auto fits = FindClippedTexts(window);
  ::DestroyWindow(window);
  ASSERT_EQ(clipped.size(), 1u);
  EXPECT_EQ(clipped[0].kind, L"caption");
  EXPECT_TRUE(fits.empty()) << DescribeClippedTexts(fits);
}

}  // namespace
}  // namespace lumitrax

namespace lumitrax {
namespace {

TEST_F(TextFit, ACheckBoxTextUnderTheNextControlCountsAsCutButALabelBelowItDoesNot) {
  const HWND check = Add(L"BUTTON", L"Hide after (sec)", BS_AUTOCHECKBOX, 300, 24);
  EXPECT_EQ(DescribeClippedTexts(FindClippedTexts(parent_)), "");
  // A spin edit placed over the end of the text, as a longer translation would meet it.
  const HWND edit = ::CreateWindowExW(0, L"EDIT", L"3", WS_CHILD | WS_VISIBLE | WS_BORDER, 60, 0, 50, 24, parent_,
                                      nullptr, nullptr, nullptr);
  const auto clipped = FindClippedTexts(parent_);
  ASSERT_EQ(clipped.size(), 1u) << DescribeClippedTexts(clipped);
  EXPECT_EQ(clipped[0].window, check);
  EXPECT_EQ(clipped[0].kind, L"check box under \"3\"");
  // Moved past the text's end, it hides nothing.
  ::MoveWindow(edit, 250, 0, 50, 24, FALSE);
  EXPECT_EQ(DescribeClippedTexts(FindClippedTexts(parent_)), "");
}

}  // namespace
}  // namespace lumitrax
