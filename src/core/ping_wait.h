#pragma once
// How long a ping request waits and when it counts as failed. Tick counts are the
// system's 32-bit millisecond counter, passed in.
#include <cstdint>

namespace lumitrax::core {

inline constexpr uint32_t PingTimeoutMs = 10000;  // counted from the request's creation
inline constexpr uint32_t PingDelayMs = 500;      // messages processed after a success
inline constexpr uint32_t PingPollMs = 50;        // longest wait for a message between checks while busy
inline constexpr int32_t PingTimeoutStatus = 408;
// No history, no reading from and no writing to the cache.
inline constexpr uint32_t PingNavigationFlags = 2 | 4 | 8;

// Milliseconds from start to now, correct across the counter's wrap after 49.7 days.
uint32_t TickElapsed(uint32_t startTick, uint32_t nowTick);
// Whether at least duration milliseconds have passed since startTick.
bool TickDurationPassed(uint32_t startTick, uint32_t nowTick, uint32_t duration);

struct PingRequestState {
  bool Present = true;     // the request object still exists
  bool Busy = false;       // the transport reports it is still working
  int32_t StatusCode = 0;  // 0 while no error
  uint32_t StartTick = 0;  // when the request was created
  uint32_t TimeoutMs = PingTimeoutMs;
};

enum class PingWaitResult {
  Waiting,    // wait for a message (PingPollMs at most), process messages, look again
  Failed,     // return false
  Completed,  // process messages for the delay, then return true
};

PingWaitResult EvaluatePingWait(const PingRequestState& request, uint32_t nowTick);

// The progress notification marks a request whose time is up with status 408.
int32_t StatusAfterProgress(const PingRequestState& request, uint32_t nowTick);

}  // namespace lumitrax::core
