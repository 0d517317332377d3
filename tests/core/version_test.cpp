#include "core/version.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

TEST(FormatVersion, JoinsFourNumbersWithDotsIncludingZerosAndLargeParts) {
  EXPECT_EQ(FormatVersion({2, 5, 0, 51}), "2.5.0.51");
  EXPECT_EQ(FormatVersion({0, 0, 0, 0}), "0.0.0.0");
  EXPECT_EQ(FormatVersion({65535, 10, 100, 1}), "65535.10.100.1");
}

}  // namespace
}  // namespace lumitrax::core
