#include "core/start_switch.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

TEST(StartSwitch, ExitInAnyCaseWithSlashOrDashAmongOtherArguments) {
  EXPECT_EQ(ParseStartSwitches({L"/exit"}), StartRequest::ExitRunningInstance);
  EXPECT_EQ(ParseStartSwitches({L"/EXIT"}), StartRequest::ExitRunningInstance);
  EXPECT_EQ(ParseStartSwitches({L"-Exit"}), StartRequest::ExitRunningInstance);
  EXPECT_EQ(ParseStartSwitches({L"/unknown", L"/exit"}), StartRequest::ExitRunningInstance);
}

TEST(StartSwitch, NoSwitchUnknownSwitchesAndNearMissesAreANormalStart) {
  EXPECT_EQ(ParseStartSwitches({}), StartRequest::Run);
  EXPECT_EQ(ParseStartSwitches({L"/quit"}), StartRequest::Run);
  EXPECT_EQ(ParseStartSwitches({L"exit"}), StartRequest::Run);
  EXPECT_EQ(ParseStartSwitches({L"/exits"}), StartRequest::Run);
  EXPECT_EQ(ParseStartSwitches({L"/exi"}), StartRequest::Run);
  EXPECT_EQ(ParseStartSwitches({L"\\exit"}), StartRequest::Run);
  EXPECT_EQ(ParseStartSwitches({L""}), StartRequest::Run);
}

}  // namespace
}  // namespace lumitrax::core
