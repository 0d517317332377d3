// Integers as text, as printf's "%0*d", "%0*x" and "%0*X" wrote them.
#include <gtest/gtest.h>

#include "core/number_text.h"

namespace lumitrax::core {
namespace {

TEST(PaddedNumber, PadsWithZerosToTheWidthAndNeverCutsDigits) {
  EXPECT_EQ(PaddedNumber(7, 2), "07");
  EXPECT_EQ(PaddedNumber(2026, 4), "2026");
  EXPECT_EQ(PaddedNumber(12345, 4), "12345");
  EXPECT_EQ(PaddedNumber(0, 1), "0");
  EXPECT_EQ(PaddedNumber(-5, 3), "-005");
}

TEST(PaddedNumber, WritesHexInSmallLettersOrCapitals) {
  EXPECT_EQ(PaddedNumber(0xAB, 2, 16), "ab");
  EXPECT_EQ(PaddedNumber(0x0F, 2, 16), "0f");
  EXPECT_EQ(PaddedNumber(0xFF00FF, 8, 16, true), "00FF00FF");
  EXPECT_EQ(PaddedNumber(0xFFFFFFFFu, 8, 16, true), "FFFFFFFF");
}

}  // namespace
}  // namespace lumitrax::core
