#include "core/instance_identity.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

TEST(InstanceIdentity, PerUserIdentityAndItsTwoMutexNames) {
  const std::string identity = InstanceIdentity(TPerformChecking::pcForCurrentUserOnly, "alice", "Lumitrax", "");
  EXPECT_EQ(identity, "alice.Lumitrax.OneInstance.");
  EXPECT_EQ(CriticalSectionMutexName(identity), "alice.Lumitrax.OneInstance.CriticalSection");
  EXPECT_EQ(DefaultMutexName(identity), "alice.Lumitrax.OneInstance.Default");
}

TEST(InstanceIdentity, GlobalCheckingLeavesTheUserOutButAFailedUserQueryKeepsTheDot) {
  EXPECT_EQ(InstanceIdentity(TPerformChecking::pcGlobal, "alice", "Lumitrax", ""), "Lumitrax.OneInstance.");
  EXPECT_EQ(InstanceIdentity(TPerformChecking::pcForCurrentUserOnly, "", "Lumitrax", ""), ".Lumitrax.OneInstance.");
}

TEST(InstanceIdentity, EveryBackslashBecomesASlashAndTheIdentifierFollowsTheName) {
  // A domain user and an executable path as the name.
  EXPECT_EQ(InstanceIdentity(TPerformChecking::pcForCurrentUserOnly, "CORP\\bob", "C:\\PROGRA~1\\LUMITRAX.EXE",
                             "\\x"),
            "CORP/bob.C:/PROGRA~1/LUMITRAX.EXE/x.OneInstance.");
}

}  // namespace
}  // namespace lumitrax::core
