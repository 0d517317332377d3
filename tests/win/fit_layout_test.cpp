// Room for longer texts: a form of two columns in a frame, laid out from its
// description. Where every text fits, everything stands as designed; a longer
// label moves what follows on its row and its whole column, and the frame
// and the form grow by as much; a check box's text that would run under the
// button after it pushes the button away; nothing ever overlaps.
#include <gtest/gtest.h>

#include <vector>

#include "framework/form.h"
#include "framework/language.h"
#include "framework/std_controls.h"
#include "settings/fit_layout.h"

namespace lumitrax {
namespace {

class TwoColumns : public TForm {
 public:
  TwoColumns() {
    SetFont(UiFontFace(), 12);
    for (const TControlDescription& row : Description()) {
      row.control.SetBounds(row.left, row.top, row.width, row.height);
      row.control.SetCaption(row.caption);
    }
    for (TLabel* label : {&lbFirst, &lbSecond}) {
      label->AutoSize = true;
      label->WordWrap = false;
    }
    for (const TControlDescription& row : Description()) row.control.Handle();
  }
  std::vector<TControlDescription> Description() {
    return {
        {grpFrame, L"grpFrame", 8, 8, 300, 100, L"Frame", 0, {}},
        {lbFirst, L"lbFirst", 8, 20, 40, 15, first, 0, {}},
        {edFirst, L"edFirst", 56, 16, 100, 23, L"", 0, {}},
        {lbSecond, L"lbSecond", 8, 50, 40, 15, L"Two", 0, {}},
        {edSecond, L"edSecond", 56, 46, 100, 23, L"", 0, {}},
        {chbBox, L"chbBox", 8, 76, 120, 17, box, 0, {}},
        {btnAfter, L"btnAfter", 124, 72, 60, 23, L"Go", 0, {}},
    };
  }
  std::wstring first = L"One", box = L"Short";
  TGroupBox grpFrame{*this};
  TLabel lbFirst{grpFrame};
  TPanel edFirst{grpFrame};
  TLabel lbSecond{grpFrame};
  TPanel edSecond{grpFrame};
  TCheckBox chbBox{grpFrame};
  TButton btnAfter{grpFrame};
};

RECT PlaceOf(TControl& control) {
  RECT rect{};
  ::GetWindowRect(control.Handle(), &rect);
  ::MapWindowPoints(nullptr, ::GetParent(control.Handle()), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT common{};
  return ::IntersectRect(&common, &a, &b) != FALSE;
}

TEST(FitLayout, WhatFitsStandsAsDesigned) {
  TwoColumns form;
  EXPECT_EQ(FitDescriptionToTexts(form, form.Description()), 0);
  for (const TControlDescription& row : form.Description()) {
    SCOPED_TRACE(std::string(row.name, row.name + wcslen(row.name)));
    EXPECT_EQ(PlaceOf(row.control).left, row.control.Scale(row.left));
    EXPECT_EQ(PlaceOf(row.control).right - PlaceOf(row.control).left, row.control.Scale(row.width));
  }
}

TEST(FitLayout, ALongerLabelMovesItsColumnAndTheFrameGrows) {
  TwoColumns form;
  form.first = L"A label far longer than designed";
  form.lbFirst.SetCaption(form.first);
  const int growth = FitDescriptionToTexts(form, form.Description());
  const RECT label = PlaceOf(form.lbFirst), first = PlaceOf(form.edFirst), second = PlaceOf(form.edSecond);
  EXPECT_GT(growth, 0);
  EXPECT_GE(first.left, label.right) << "the list after the label moved out of its way";
  EXPECT_EQ(second.left, first.left) << "the column stays a column";
  EXPECT_EQ(second.right - second.left, first.right - first.left);
  EXPECT_EQ(PlaceOf(form.lbSecond).left, form.lbSecond.Scale(8)) << "the short label stays";
  const RECT frame = PlaceOf(form.grpFrame);
  EXPECT_EQ(frame.right - frame.left, form.grpFrame.Scale(300) + growth) << "the frame grows by as much";
  EXPECT_LE(first.right, frame.right - frame.left);
  // Laid out again with the short text, it is as designed again.
  form.first = L"One";
  form.lbFirst.SetCaption(form.first);
  EXPECT_EQ(FitDescriptionToTexts(form, form.Description()), 0);
  EXPECT_EQ(PlaceOf(form.edFirst).left, form.edFirst.Scale(56));
}

TEST(FitLayout, ACheckBoxTextReachingUnderTheNextControlPushesIt) {
  TwoColumns form;
  form.box = L"A check box text that runs past the button";
  form.chbBox.SetCaption(form.box);
  FitDescriptionToTexts(form, form.Description());
  const RECT box = PlaceOf(form.chbBox), button = PlaceOf(form.btnAfter);
  EXPECT_GE(button.left, box.right - 1) << "nothing overlaps";
  EXPECT_GE(box.right - box.left, NeededTextWidth(form.chbBox));
  // The rows above are not on the check box's row: they stay.
  EXPECT_EQ(PlaceOf(form.edFirst).left, form.edFirst.Scale(56));
  std::vector<RECT> places;
  for (const TControlDescription& row : form.Description())
    if (&row.control != &form.grpFrame) places.push_back(PlaceOf(row.control));
  for (size_t i = 0; i < places.size(); ++i)
    for (size_t j = i + 1; j < places.size(); ++j) EXPECT_FALSE(Overlap(places[i], places[j])) << i << " and " << j;
}

}  // namespace
}  // namespace lumitrax
