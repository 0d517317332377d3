#pragma once
// The usage ping: what it carries, when it goes (the minute timer sends
// "start" once and "running" about once a day), and the gates that hold it
// back while the session ends or the program quits.
#include <functional>
#include <string>

#include "core/ping_policy.h"
#include "core/ping_query.h"
#include "framework/timer.h"

namespace lumitrax {

class TUsagePing {
 public:
  TUsagePing();
  ~TUsagePing();

  // The ping's state keeps the names the rest of the program knows it by.
  core::PingPolicy PingState;
  bool& StartPingPending = PingState.StartPingPending;
  bool& SessionEnding = PingState.SessionEnding;
  core::DateTime& LastPingTime = PingState.LastPingTime;
  TTimer tmrMinutes{60000, false};
  // What the timer's pings tell of the settings, asked when one goes.
  std::function<core::PingSettings()> CurrentSettings;

  // "Send anonymous usage reports": the user's choice (the "UsageReports"
  // setting). While it is off, or an administrator's policy turns the
  // reports off, no ping of any kind goes out.
  bool UsageReports = true;
  // Whether the policy "DisableUsageReports" turns the reports off for
  // everyone; by default read from the registry each time it is asked, so a
  // policy set while the program runs holds from the next ping on.
  std::function<bool()> UsageReportsForcedOff = ReadUsageReportsPolicy;
  bool ReportsAllowed() const;
  static bool ReadUsageReportsPolicy();

  // Starts the minute timer and the sender, with the site's ping address.
  void Start(const std::string& base_url);
  void Stop();
  bool SendPing(const std::wstring& action, const std::wstring& extra, const core::PingSettings& settings,
                bool force = false);
  void tmrMinutesTimer();

  // The file version the pings report.
  static std::string ProgramVersion();
  // Seeded once per run; shared by everything that draws a random number.
  static core::RandomBelow RandomBelow();
};

}  // namespace lumitrax
