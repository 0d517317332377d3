#include "osd/osd_controller.h"

#include "framework/win_registry.h"
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

void TOsdController::DestroyOsd() {
  if (!frmOsd) return;
  // Hiding stores the position.
  frmOsd->Hide();
  // A fade further down the stack still runs on the window; it frees it when done.
  if (frmOsd->Fading())
    TfrmOsd::ReleaseAfterFade(std::move(frmOsd));
  else
    frmOsd.reset();
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
  frmOsd->Display(core::IsOsdNeeded(inputs), settings.OsdOpacity, settings.OsdSize, settings.OsdBody,
                  settings.OsdText, core::GetOsdText(inputs));
  frmOsd->StayOnTop();
  frmOsd->RestartHideTimer(settings.OsdHideAfter, settings.OsdHideInterval, FHost.SettingsShown());
  frmOsd->BringToTopmost();
}

}  // namespace lumitrax
