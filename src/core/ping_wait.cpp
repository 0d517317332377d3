#include "core/ping_wait.h"

namespace lumitrax::core {

uint32_t TickElapsed(uint32_t startTick, uint32_t nowTick) {
  return nowTick - startTick;  // unsigned arithmetic wraps with the counter
}

bool TickDurationPassed(uint32_t startTick, uint32_t nowTick, uint32_t duration) {
  return TickElapsed(startTick, nowTick) >= duration;
}

PingWaitResult EvaluatePingWait(const PingRequestState& request, uint32_t nowTick) {
  if (request.Present && request.Busy) {
    if (request.StatusCode != 0) return PingWaitResult::Failed;
    if (TickDurationPassed(request.StartTick, nowTick, request.TimeoutMs)) return PingWaitResult::Failed;
    return PingWaitResult::Waiting;
  }
  if (!request.Present || request.StatusCode != 0) return PingWaitResult::Failed;
  return PingWaitResult::Completed;
}

int32_t StatusAfterProgress(const PingRequestState& request, uint32_t nowTick) {
  return TickDurationPassed(request.StartTick, nowTick, request.TimeoutMs) ? PingTimeoutStatus
                                                                           : request.StatusCode;
}

}  // namespace lumitrax::core
