#include "core/lock_names.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

TEST(LockNames, KeysScanCodesAndNamesFollowTheLockKind) {
  EXPECT_EQ(LockVirtualKey(LockKind::Num), 0x90);
  EXPECT_EQ(LockVirtualKey(LockKind::Caps), 0x14);
  EXPECT_EQ(LockVirtualKey(LockKind::Scroll), 0x91);
  EXPECT_EQ(LockScanCode(LockKind::Num), 0x45);
  EXPECT_EQ(LockScanCode(LockKind::Caps), 0x3A);
  EXPECT_EQ(LockScanCode(LockKind::Scroll), 0x46);
  EXPECT_EQ(LockName(LockKind::None), "Some");
  EXPECT_EQ(LockName(LockKind::Num), "Num");
  EXPECT_EQ(LockName(LockKind::Caps), "Caps");
  EXPECT_EQ(LockName(LockKind::Scroll), "Scroll");
  EXPECT_EQ(StateName(false), "Off");
  EXPECT_EQ(StateName(true), "On");
}

TEST(LockNames, TagsOutsideOneToThreeNameNoLockAndLookUpSafely) {
  EXPECT_EQ(LockKindFromTag(1), LockKind::Num);
  EXPECT_EQ(LockKindFromTag(3), LockKind::Scroll);
  EXPECT_EQ(LockKindFromTag(0), LockKind::None);
  EXPECT_EQ(LockKindFromTag(4), LockKind::None);
  EXPECT_EQ(LockKindFromTag(-1), LockKind::None);
  EXPECT_EQ(LockVirtualKey(static_cast<LockKind>(7)), 0);
  EXPECT_EQ(LockScanCode(LockKind::None), 0);
  EXPECT_EQ(LockName(static_cast<LockKind>(-2)), "Some");
}

TEST(LockNames, OnlyTheThreeLockKeysAreWatched) {
  EXPECT_TRUE(IsLockVirtualKey(20));
  EXPECT_TRUE(IsLockVirtualKey(144));
  EXPECT_TRUE(IsLockVirtualKey(145));
  EXPECT_FALSE(IsLockVirtualKey(0));  // the placeholder entry is not a key
  EXPECT_FALSE(IsLockVirtualKey(0x45));
  EXPECT_FALSE(IsLockVirtualKey(0x114));  // Caps' code with high bits set
}

}  // namespace
}  // namespace lumitrax::core
