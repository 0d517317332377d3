#include "core/ping_policy.h"

namespace lumitrax::core {

bool UserWorksOffline(uint32_t connectedState) {
  return (connectedState & InternetStateDisconnectedByUser) != 0;
}

uint32_t MinutesTimerInterval(const RandomBelow& random) { return 60000 + random(240000); }

std::string PingDateExtra(DateTime now) { return "date=" + FormatIsoDate(now); }

bool PingPolicy::PassGates(DateTime now, bool terminating, bool force) {
  if (SessionEnding || StartPingPending || terminating) return false;
  if (!force && WholeMinutesBetween(now, LastPingTime) < MinMinutesBetweenPings) return false;
  LastPingTime = now;
  return true;
}

std::optional<PingCall> PingPolicy::MinutesTick(DateTime now, const RandomBelow& random) {
  if (StartPingPending) {
    StartPingPending = false;
    return PingCall{"start", PingDateExtra(now), true};
  }
  const int64_t spread = random(RunningPingSpreadMinutes);
  if (WholeMinutesBetween(now, LastPingTime) > RunningPingMinutes + spread) {
    return PingCall{"running", PingDateExtra(now), false};
  }
  return std::nullopt;
}

}  // namespace lumitrax::core
