#include "core/windows_version.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

TEST(WindowsVersion, OnlyTheOldFamiliesGetThePreVistaTrayColours) {
  EXPECT_TRUE(OlderThanVista({1, 4, 90}));  // ME
  EXPECT_TRUE(OlderThanVista({2, 4, 0}));   // NT 4.0
  EXPECT_TRUE(OlderThanVista({2, 5, 2}));   // Server 2003
  EXPECT_FALSE(OlderThanVista({2, 6, 0}));  // Vista
  EXPECT_FALSE(OlderThanVista({2, 10, 0}));
  EXPECT_FALSE(OlderThanVista({0, 3, 1}));  // not recognised
  EXPECT_FALSE(OlderThanVista({3, 5, 0}));
}

}  // namespace
}  // namespace lumitrax::core
