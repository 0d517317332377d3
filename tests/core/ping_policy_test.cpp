#include "core/ping_policy.h"

#include <gtest/gtest.h>

#include <deque>

namespace lumitrax::core {
namespace {

// Hands out scripted numbers and records the bounds it was asked for.
class ScriptedRandom {
 public:
  explicit ScriptedRandom(std::deque<uint32_t> values) : values_(std::move(values)) {}
  RandomBelow Source() {
    return [this](uint32_t bound) {
      bounds.push_back(bound);
      EXPECT_FALSE(values_.empty()) << "random source asked more often than scripted";
      if (values_.empty()) return 0u;
      const uint32_t value = values_.front();
      values_.pop_front();
      return value;
    };
  }
  std::vector<uint32_t> bounds;

 private:
  std::deque<uint32_t> values_;
};

DateTime At(int day, int hour, int minute = 0) { return EncodeDateTime(2026, 12, day, hour, minute); }

TEST(PingPolicy, OnlyTheUsersOwnChoiceToWorkOfflineKeepsPingsHome) {
  // WinINet's connected states: connected 0x1, disconnected 0x2, disconnected by
  // the user 0x10, idle 0x100, busy 0x200; they combine.
  EXPECT_FALSE(UserWorksOffline(0x1));
  EXPECT_FALSE(UserWorksOffline(0x2)) << "no connection found is not the user's choice";
  EXPECT_FALSE(UserWorksOffline(0x0));
  EXPECT_FALSE(UserWorksOffline(0x1 | 0x100));
  EXPECT_FALSE(UserWorksOffline(0x2 | 0x200));
  EXPECT_TRUE(UserWorksOffline(0x10));
  EXPECT_TRUE(UserWorksOffline(0x10 | 0x2));
  EXPECT_TRUE(UserWorksOffline(0x10 | 0x100));
}

TEST(PingPolicy, MinutesIntervalIsOneMinutePlusRandomBelowFourMinutes) {
  ScriptedRandom random({0, 239999});
  EXPECT_EQ(MinutesTimerInterval(random.Source()), 60000u);
  EXPECT_EQ(MinutesTimerInterval(random.Source()), 299999u);
  EXPECT_EQ(random.bounds, (std::vector<uint32_t>{240000, 240000}));
}

TEST(PingPolicy, NothingPassesBeforeTheFirstTick) {
  PingPolicy policy;
  EXPECT_FALSE(policy.PassGates(At(8, 10), false, false));  // "stop" before the first tick
  EXPECT_FALSE(policy.PassGates(At(8, 10), false, true));
  EXPECT_EQ(policy.LastPingTime, 0.0);
}

TEST(PingPolicy, FirstTickSendsForcedStartWithTodaysDateWithoutDrawingRandom) {
  PingPolicy policy;
  ScriptedRandom random({});
  const auto call = policy.MinutesTick(At(8, 10, 3), random.Source());
  ASSERT_TRUE(call.has_value());
  EXPECT_EQ(call->Action, "start");
  EXPECT_EQ(call->Extra, "date=2026-12-08");
  EXPECT_TRUE(call->Force);
  EXPECT_FALSE(policy.StartPingPending);
  EXPECT_TRUE(random.bounds.empty());
  EXPECT_TRUE(policy.PassGates(At(8, 10, 3), false, call->Force));
  EXPECT_EQ(policy.LastPingTime, At(8, 10, 3));
}

TEST(PingPolicy, ThirtyMinuteRuleAppliesToUnforcedPingsAndRestartsWithEachPing) {
  PingPolicy policy;
  policy.StartPingPending = false;
  policy.LastPingTime = At(8, 10);
  EXPECT_FALSE(policy.PassGates(At(8, 10, 29), false, false));  // "about" soon after "start"
  EXPECT_EQ(policy.LastPingTime, At(8, 10));
  EXPECT_TRUE(policy.PassGates(At(8, 10, 30), false, false));
  EXPECT_EQ(policy.LastPingTime, At(8, 10, 30));
  EXPECT_FALSE(policy.PassGates(At(8, 10, 45), false, false));
  EXPECT_TRUE(policy.PassGates(At(8, 11, 0), false, false));
}

TEST(PingPolicy, ForcedPingIgnoresThe30MinutesButNotTheOtherGates) {
  PingPolicy policy;
  policy.StartPingPending = false;
  policy.LastPingTime = At(8, 10);
  EXPECT_TRUE(policy.PassGates(At(8, 10, 1), false, true));

  EXPECT_FALSE(policy.PassGates(At(9, 10), true, true));  // the application is terminating
  policy.SessionEnding = true;
  EXPECT_FALSE(policy.PassGates(At(9, 10), false, true));
  EXPECT_FALSE(policy.PassGates(At(9, 10), false, false));
  EXPECT_EQ(policy.LastPingTime, At(8, 10, 1));
}

TEST(PingPolicy, ClockSetBackCountsTheDistanceEitherWay) {
  PingPolicy policy;
  policy.StartPingPending = false;
  policy.LastPingTime = At(8, 12);
  EXPECT_FALSE(policy.PassGates(At(8, 11, 45), false, false));
  EXPECT_TRUE(policy.PassGates(At(8, 11, 30), false, false));
}

TEST(PingPolicy, RunningGoesOutOnceMinutesExceedADayPlusTheFreshlyDrawnSpread) {
  PingPolicy policy;
  policy.StartPingPending = false;
  policy.LastPingTime = At(8, 10);
  // Exactly 1440 + 100 minutes later with R = 100: not yet (must exceed).
  ScriptedRandom random({100, 100, 99});
  EXPECT_FALSE(policy.MinutesTick(At(9, 11, 40), random.Source()).has_value());
  const auto call = policy.MinutesTick(At(9, 11, 41), random.Source());
  ASSERT_TRUE(call.has_value());
  EXPECT_EQ(call->Action, "running");
  EXPECT_EQ(call->Extra, "date=2026-12-09");
  EXPECT_FALSE(call->Force);
  EXPECT_FALSE(policy.MinutesTick(At(9, 11, 39), random.Source()).has_value());
  EXPECT_EQ(random.bounds, (std::vector<uint32_t>{720, 720, 720}));
}

TEST(PingPolicy, RunningNeverBeforeADayAndAlwaysAfter36Hours) {
  PingPolicy policy;
  policy.StartPingPending = false;
  policy.LastPingTime = At(8, 10);
  ScriptedRandom random({0, 719});
  EXPECT_FALSE(policy.MinutesTick(At(9, 10), random.Source()).has_value());  // 1440, R = 0
  EXPECT_TRUE(policy.MinutesTick(At(9, 22, 0), random.Source()).has_value());  // 2160 > 2159
}

TEST(PingPolicy, RunTimelineStartThenSuppressedClicksThenRunningNextDay) {
  PingPolicy policy;
  ScriptedRandom random({500, 0});
  // "about" at 10:01 waits for start; the first tick at 10:02 sends start.
  EXPECT_FALSE(policy.PassGates(At(8, 10, 1), false, false));
  auto call = policy.MinutesTick(At(8, 10, 2), random.Source());
  ASSERT_TRUE(call && call->Action == "start");
  EXPECT_TRUE(policy.PassGates(At(8, 10, 2), false, call->Force));
  // A link click at 10:20 is suppressed; one at 10:40 goes out and restarts the window.
  EXPECT_FALSE(policy.PassGates(At(8, 10, 20), false, false));
  EXPECT_TRUE(policy.PassGates(At(8, 10, 40), false, false));
  // Next day 10:41: 1441 minutes since the link ping, not above 1440 + 500.
  EXPECT_FALSE(policy.MinutesTick(At(9, 10, 41), random.Source()).has_value());
  // 10:42 with R = 0: 1442 > 1440.
  call = policy.MinutesTick(At(9, 10, 42), random.Source());
  ASSERT_TRUE(call && call->Action == "running");
  EXPECT_TRUE(policy.PassGates(At(9, 10, 42), false, call->Force));
  EXPECT_EQ(policy.LastPingTime, At(9, 10, 42));
}

TEST(PingPolicy, StartSwallowedByEndingSessionLeavesNoPingTime) {
  PingPolicy policy;
  policy.SessionEnding = true;
  ScriptedRandom random({0});
  auto call = policy.MinutesTick(At(8, 10), random.Source());
  ASSERT_TRUE(call && call->Action == "start");
  EXPECT_FALSE(policy.PassGates(At(8, 10), false, call->Force));
  EXPECT_EQ(policy.LastPingTime, 0.0);
  // The flag is cleared: a later tick goes to the running rule, not to start again.
  call = policy.MinutesTick(At(8, 10, 5), random.Source());
  ASSERT_TRUE(call.has_value());
  EXPECT_EQ(call->Action, "running");
}

}  // namespace
}  // namespace lumitrax::core
