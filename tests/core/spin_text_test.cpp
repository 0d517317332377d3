#include "core/spin_text.h"

#include <gtest/gtest.h>

#include "core/check_group.h"

namespace lumitrax::core {
namespace {

TEST(AcceptSpinChar, DigitsMinusAndControlKeysOnly) {
  for (char32_t ch = U'0'; ch <= U'9'; ++ch) EXPECT_TRUE(AcceptSpinChar(ch, false));
  EXPECT_TRUE(AcceptSpinChar(U'-', false));
  EXPECT_TRUE(AcceptSpinChar(U'\b', false));
  EXPECT_TRUE(AcceptSpinChar(0x16, false));  // Ctrl+V
  EXPECT_TRUE(AcceptSpinChar(0x03, false));  // Ctrl+C
  for (char32_t ch : {U'a', U'F', U'+', U' ', U'.', U',', U'\u00B2', U'\u0661'})
    EXPECT_FALSE(AcceptSpinChar(ch, false)) << static_cast<unsigned>(ch);
  EXPECT_TRUE(AcceptSpinChar(U'f', true));
  EXPECT_TRUE(AcceptSpinChar(U'A', true));
  EXPECT_FALSE(AcceptSpinChar(U'g', true));
}

TEST(ClampSpinText, OutOfRangeNumbersAreClampedAndIntermediateTextsStay) {
  EXPECT_EQ(ClampSpinText("150", 1, 100, 80), "100");
  EXPECT_EQ(ClampSpinText("-5", 1, 100, 80), "1");
  EXPECT_EQ(ClampSpinText("0", 1, 60, 3), "1");
  EXPECT_EQ(ClampSpinText("42", 1, 100, 80), "42");
  EXPECT_EQ(ClampSpinText("007", 1, 100, 80), "7");
  EXPECT_EQ(ClampSpinText("", 1, 100, 80), std::nullopt);
  EXPECT_EQ(ClampSpinText("-", 1, 100, 80), std::nullopt);
  // Text that is no number takes the current position.
  EXPECT_EQ(ClampSpinText("1-2", 1, 100, 80), "80");
  EXPECT_EQ(ClampSpinText("--5", 1, 100, 80), "80");
  EXPECT_EQ(ClampSpinText("99999999999999", 1, 100, 80), "80");
  // Negative ranges work like any other.
  EXPECT_EQ(ClampSpinText("-500", -300, -10, -20), "-300");
  EXPECT_EQ(ClampSpinText("5", -300, -10, -20), "-10");
}

TEST(ParseSpinNumber, WholeDecimalNumbersOnly) {
  EXPECT_EQ(ParseSpinNumber("-32768"), -32768);
  EXPECT_EQ(ParseSpinNumber("+7"), 7);
  EXPECT_EQ(ParseSpinNumber("++7"), std::nullopt);
  EXPECT_EQ(ParseSpinNumber("+-7"), std::nullopt) << "one sign only";
  EXPECT_EQ(ClampSpinText("+-5", 1, 100, 80), "80") << "no number: the position stays";
  EXPECT_EQ(ParseSpinNumber("7 "), std::nullopt);
  EXPECT_EQ(ParseSpinNumber("1,000"), std::nullopt);
  EXPECT_EQ(ParseSpinNumber(""), std::nullopt);
}

TEST(StepSpinPosition, MovesWithinTheRangeWithoutWrapping) {
  EXPECT_EQ(StepSpinPosition(80, 1, 1, 100), 81);
  EXPECT_EQ(StepSpinPosition(100, 1, 1, 100), 100);
  EXPECT_EQ(StepSpinPosition(1, -1, 1, 100), 1);
  EXPECT_EQ(StepSpinPosition(98, 5, 1, 100), 100);
  EXPECT_EQ(StepSpinPosition(32767, 32767, -32768, 32767), 32767);
}

TEST(CheckGroup, CaptionCheckBoxSizeAndChildEnabling) {
  EXPECT_EQ(CaptionCheckBoxSize(100, 15), (CheckBoxSize{119, 15}));
  EXPECT_EQ(CaptionCheckBoxSize(10, 8), (CheckBoxSize{29, 13}));
  EXPECT_TRUE(CheckGroupChildEnabled(true, true, true));
  EXPECT_FALSE(CheckGroupChildEnabled(true, true, false));
  EXPECT_TRUE(CheckGroupChildEnabled(true, false, false));  // hidden check box: always on
  EXPECT_FALSE(CheckGroupChildEnabled(false, true, true));
  EXPECT_FALSE(CheckGroupChildEnabled(false, false, true));
}

}  // namespace
}  // namespace lumitrax::core
