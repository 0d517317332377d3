#include "osd/osd_controller.h"

#include "framework/win_registry.h"
#include "framework/work_area.h"
#include "core/settings_views.h"
#include "indicator/lock_state.h"

namespace lumitrax {
namespace {

std::array<bool, 3> CurrentLockStates() {
  std::array<bool, 3> states{};
  for (int kind = 1; kind <= 3; ++kind) states[static_cast<size_t>(kind - 1)] = GetLockState(kind);
  return states;
}

}  // namespace

void TOsdController::CreateOsd() {
  if (frmOsd) return;
  frmOsd = std::make_unique<TfrmOsd>(FHost, std::make_unique<TWinRegistry>());
}

void TOsdController::Release(std::unique_ptr<TfrmOsd> osd) {
  if (!osd) return;
  // Hiding stores the position.
  osd->Hide();
  // A fade further down the stack still runs on the window; it frees it when done.
  if (osd->Fading())
    TfrmOsd::ReleaseAfterFade(std::move(osd));
  else
    osd.reset();
}

void TOsdController::DestroyOsd() {
  FullScreenWatch.Stop();
  for (auto& copy : FCopies) Release(std::move(copy));
  FCopies.clear();
  Release(std::move(frmOsd));
}

std::string TOsdController::GetOsdText(const core::Settings& settings) {
  return core::GetOsdText(core::OsdInputsOf(settings, CurrentLockStates(), FHost.SettingsShown()));
}

bool TOsdController::IsOsdNeeded(const core::Settings& settings) {
  return core::IsOsdNeeded(core::OsdInputsOf(settings, CurrentLockStates(), FHost.SettingsShown()));
}

void TOsdController::UpdateOsd(const core::Settings& settings) { UpdateOsd(settings, CurrentLockStates()); }

void TOsdController::UpdateOsd(const core::Settings& settings, const std::array<bool, 3>& lock_states) {
  if (!OsdExists()) return;
  // The inputs are made once: this runs between a lock key and the display,
  // and under Wine every key read is a round trip to the server.
  const core::OsdInputs inputs = core::OsdInputsOf(settings, lock_states, FHost.SettingsShown());
  bool show = core::IsOsdNeeded(inputs);
  if (settings.OsdOutOfTheWay) {
    FullScreenWatch.Start();
    // Asked at every update, so that the watch's answer is always fresh. The
    // tray icon still tells the change; only the display keeps away.
    if (FullScreenWatch.InTheWay()) show = false;
  } else {
    FullScreenWatch.Stop();
  }
  const std::string text = core::GetOsdText(inputs);
  const std::vector<TOsdPlace> places = Places(core::OsdPlacementOf(settings.OsdPlacement));
  // One display per place beyond the first; made before they are needed and
  // freed when the mode or the monitors no longer ask for them.
  const size_t copies = places.empty() ? 0 : places.size() - 1;
  while (FCopies.size() > copies) {
    Release(std::move(FCopies.back()));
    FCopies.pop_back();
  }
  while (FCopies.size() < copies)
  {
    FCopies.push_back(std::make_unique<TfrmOsd>(FHost, std::make_unique<TWinRegistry>(), true));
    FCopies.back()->OnCopyDropped = [this](core::Point dropped) {
      if (frmOsd) frmOsd->SetStoredPosition(dropped);
    };
  }
  frmOsd->SetPlace(places.empty() ? std::nullopt : std::optional<TOsdPlace>(places[0]));
  ShowOn(*frmOsd, settings, show, text);
  for (size_t i = 0; i < FCopies.size(); ++i) {
    FCopies[i]->SetPlace(places[i + 1]);
    ShowOn(*FCopies[i], settings, show, text);
  }
}

void TOsdController::ShowOn(TfrmOsd& osd, const core::Settings& settings, bool show, const std::string& text) {
  osd.Display(show, settings.OsdOpacity, settings.OsdSize, settings.OsdBody, settings.OsdText, text);
  osd.StayOnTop();
  osd.RestartHideTimer(settings.OsdHideAfter, settings.OsdHideInterval, FHost.SettingsShown());
  osd.BringToTopmost();
}

std::vector<TOsdPlace> TOsdController::Places(core::OsdPlacementMode mode) {
  if (mode == core::OsdPlacementMode::Stored) return {};
  const std::vector<core::MonitorArea> monitors = Monitors();
  if (monitors.empty()) return {};
  const core::Rect stored = frmOsd->StoredPlace();
  std::optional<core::Point> pointer;
  POINT at{};
  if (::GetCursorPos(&at)) pointer = core::Point{at.x, at.y};
  std::optional<core::Rect> active;
  RECT frame{};
  const HWND foreground = ::GetForegroundWindow();
  if (foreground && ::GetWindowRect(foreground, &frame)) active = ToRect(frame);
  const core::DisplayAnchor anchor =
      core::AnchorOf(stored, monitors[core::MonitorOfRect(monitors, stored)]);
  std::vector<TOsdPlace> places;
  for (const size_t index : core::DisplayMonitors(mode, monitors, stored, pointer, active))
    places.push_back({anchor, monitors[index]});
  return places;
}

}  // namespace lumitrax
