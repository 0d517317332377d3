#include "core/ping_wait.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

TEST(PingWait, BusyRequestWaitsUntilTenSecondsFromCreation) {
  PingRequestState request{true, true, 0, 5000, PingTimeoutMs};
  EXPECT_EQ(EvaluatePingWait(request, 5000), PingWaitResult::Waiting);
  EXPECT_EQ(EvaluatePingWait(request, 14999), PingWaitResult::Waiting);
  EXPECT_EQ(EvaluatePingWait(request, 15000), PingWaitResult::Failed);
}

TEST(PingWait, ErrorStatusEndsTheWaitWhetherBusyOrNot) {
  PingRequestState request{true, true, 404, 0, PingTimeoutMs};
  EXPECT_EQ(EvaluatePingWait(request, 100), PingWaitResult::Failed);
  request.Busy = false;
  EXPECT_EQ(EvaluatePingWait(request, 100), PingWaitResult::Failed);
}

TEST(PingWait, DoneWithoutErrorCompletesEvenLate) {
  PingRequestState request{true, false, 0, 0, PingTimeoutMs};
  EXPECT_EQ(EvaluatePingWait(request, 100), PingWaitResult::Completed);
  EXPECT_EQ(EvaluatePingWait(request, 60000), PingWaitResult::Completed);
  request.Present = false;
  EXPECT_EQ(EvaluatePingWait(request, 100), PingWaitResult::Failed);
}

TEST(PingWait, TickCounterWrapDoesNotEndTheWaitEarly) {
  const PingRequestState request{true, true, 0, 0xFFFFF000u, PingTimeoutMs};
  EXPECT_EQ(TickElapsed(0xFFFFF000u, 0x00000100u), 0x1100u);
  EXPECT_EQ(EvaluatePingWait(request, 0x00000100u), PingWaitResult::Waiting);
  EXPECT_EQ(EvaluatePingWait(request, 0xFFFFF000u + PingTimeoutMs), PingWaitResult::Failed);
  EXPECT_TRUE(TickDurationPassed(0xFFFFFF00u, 0x000000F4u, 500));
  EXPECT_FALSE(TickDurationPassed(0xFFFFFF00u, 0x000000F3u, 500));
}

TEST(PingWait, ProgressMarksTimedOutRequestWith408) {
  const PingRequestState request{true, true, 0, 1000, PingTimeoutMs};
  EXPECT_EQ(StatusAfterProgress(request, 10999), 0);
  EXPECT_EQ(StatusAfterProgress(request, 11000), 408);
  const PingRequestState failed{true, true, 500, 1000, PingTimeoutMs};
  EXPECT_EQ(StatusAfterProgress(failed, 2000), 500);
}

}  // namespace
}  // namespace lumitrax::core
