#pragma once
// When usage pings go out: the gates every ping passes, the 30-minute rule, and
// what each tick of the minutes timer sends. The clock and the random source are
// passed in.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/date_time.h"

namespace lumitrax::core {

// Returns a uniformly random whole number in [0, bound).
using RandomBelow = std::function<uint32_t(uint32_t bound)>;

// WinINet's connected-state bit (INTERNET_STATE_DISCONNECTED_BY_USER) that says
// the user chose to work offline.
inline constexpr uint32_t InternetStateDisconnectedByUser = 0x10;

// Whether pings are to stay home: only when the user chose to work offline. A
// state that reports no connection found (some VPN, proxy-only or loopback-only
// machines) still tries: the request then fails silently on its own.
bool UserWorksOffline(uint32_t connectedState);

// tmrMinutes' interval, chosen once per run: 60000 ms plus a random part below 240000.
uint32_t MinutesTimerInterval(const RandomBelow& random);

// The caller's extra pair of a timer ping: "date=" and the local date, "date=2026-12-08".
std::string PingDateExtra(DateTime now);

// A ping the minutes timer asks SendPing for.
struct PingCall {
  std::string Action;
  std::string Extra;
  bool Force = false;
};

struct PingPolicy {
  static constexpr int64_t MinMinutesBetweenPings = 30;
  static constexpr int64_t RunningPingMinutes = 1440;      // a day...
  static constexpr uint32_t RunningPingSpreadMinutes = 720;  // ...plus up to half a day

  bool StartPingPending = true;  // no "start" ping yet; every ping waits for it
  bool SessionEnding = false;    // Windows is ending the logon session
  DateTime LastPingTime = 0;     // when the last ping passed the gates

  // SendPing's gates. True when the ping is to go out now; LastPingTime then holds
  // now, also if the request itself fails later.
  bool PassGates(DateTime now, bool terminating, bool force);

  // One tick of tmrMinutes: "start" (forced) on the first tick, clearing
  // StartPingPending; later "running" once more than a day plus a random part of
  // half a day has passed since the last ping. The call still goes through PassGates.
  std::optional<PingCall> MinutesTick(DateTime now, const RandomBelow& random);
};

}  // namespace lumitrax::core
