#include "web/usage_ping.h"

#include <windows.h>

#include <random>

#include "core/admin_policy.h"
#include "framework/application.h"
#include "framework/text.h"
#include "framework/version_info.h"
#include "framework/win_registry.h"
#include "web/ping_notify.h"

namespace lumitrax {
namespace {

core::DateTime LocalNow() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return core::EncodeDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                              now.wMilliseconds);
}

}  // namespace

core::RandomBelow TUsagePing::RandomBelow() {
  static std::mt19937 generator(std::random_device{}());
  return [](uint32_t bound) { return bound ? std::uniform_int_distribution<uint32_t>(0, bound - 1)(generator) : 0u; };
}

std::string TUsagePing::ProgramVersion() { return Narrow(GetFileVersionString(GetModulePath())); }

TUsagePing::TUsagePing() { tmrMinutes.OnTimer = [this](TComponent&) { tmrMinutesTimer(); }; }

TUsagePing::~TUsagePing() { Stop(); }

void TUsagePing::Start(const std::string& base_url) {
  tmrMinutes.SetInterval(core::MinutesTimerInterval(RandomBelow()));
  tmrMinutes.SetEnabled(true);
  InitPingNotify(base_url);
}

void TUsagePing::Stop() { DonePingNotify(); }

bool TUsagePing::ReadUsageReportsPolicy() {
  TWinRegistry registry;
  return core::UsageReportsDisabledByPolicy(registry);
}

bool TUsagePing::ReportsAllowed() const {
  return UsageReports && !(UsageReportsForcedOff && UsageReportsForcedOff());
}

bool TUsagePing::SendPing(const std::wstring& action, const std::wstring& extra, const core::PingSettings& settings,
                          bool force) {
  // Reports off: nothing at all goes out, and the ping's own state stays as it is.
  if (!ReportsAllowed()) return false;
  // No ping while the session ends, before the start ping, or once the
  // program is quitting; none within 30 minutes of the last unless forced.
  if (!PingState.PassGates(LocalNow(), Application().Terminated(), force)) return false;
  const std::string query = core::BuildPingQuery(settings, Narrow(extra));
  // Everything that goes to the network fails silently.
  if (TPingNotify* ping = PingNotify()) ping->TryPing(Narrow(action), query);
  return true;
}

void TUsagePing::tmrMinutesTimer() {
  if (const auto call = PingState.MinutesTick(LocalNow(), RandomBelow()))
    SendPing(Widen(call->Action), Widen(call->Extra), CurrentSettings ? CurrentSettings() : core::PingSettings{},
             call->Force);
  TrimWorkingSet();
}

}  // namespace lumitrax
