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

void TOsdController::UpdateOsd(const core::Settings& settings) {
  if (!OsdExists()) return;
  frmOsd->Display(IsOsdNeeded(settings), settings.OsdOpacity, settings.OsdSize, settings.OsdBody, settings.OsdText,
                  GetOsdText(settings));
  frmOsd->StayOnTop();
  frmOsd->RestartHideTimer(settings.OsdHideAfter, settings.OsdHideInterval, FHost.SettingsShown());
  frmOsd->BringToTopmost();
}

}  // namespace lumitrax
