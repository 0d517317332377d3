// The main window's side of the on-screen display: creating and freeing the
// window, and turning the "On Screen Display" settings into what it shows.
#include <memory>

#include "app/form_main.h"
#include "app/win_registry.h"
#include "core/osd_logic.h"
#include "osd/form_osd.h"

namespace lumitrax {
namespace {

core::OsdInputs CurrentOsdInputs(TfrmMain& main) {
  core::OsdInputs inputs;
  inputs.Enabled = main.grpOsd.CheckBoxChecked();
  inputs.ShowLock = {main.chbOsdLed1.Checked(), main.chbOsdLed2.Checked(), main.chbOsdLed3.Checked()};
  inputs.AutoHide = main.chbOsdAutoHide.Checked();
  // The states the lock monitor holds: the ones the tray icon shows too, and
  // no round trips to read them again between a lock key and the display.
  const std::array<bool, 3>& states = main.LockStates();
  for (size_t slot = 0; slot < 3; ++slot) inputs.LockStates[slot] = states[slot];
  inputs.SettingsShown = main.Visible();
  return inputs;
}

}  // namespace

bool TfrmMain::OsdExists() const noexcept { return frmOsd != nullptr; }

void TfrmMain::CreateOsd() {
  if (frmOsd) return;
  frmOsd = std::make_unique<TfrmOsd>(*this, std::make_unique<TWinRegistry>());
}

void TfrmMain::DestroyOsd() {
  if (!frmOsd) return;
  // Hiding stores the position.
  frmOsd->Hide();
  // A fade further down the stack still runs on the window; it frees it when done.
  if (frmOsd->Fading())
    TfrmOsd::ReleaseAfterFade(std::move(frmOsd));
  else
    frmOsd.reset();
}

std::string TfrmMain::GetOsdText() { return core::GetOsdText(CurrentOsdInputs(*this)); }

bool TfrmMain::IsOsdNeeded() { return core::IsOsdNeeded(CurrentOsdInputs(*this)); }

void TfrmMain::UpdateOsd() {
  pnOsd.SetColor(ColorToRgb(cmbOsdBody.SelectedColor()));
  pnOsd.SetCaptionColor(ColorToRgb(cmbOsdText.SelectedColor()));
  if (!OsdExists()) return;
  // The inputs are read once: each lock read is a round trip under Wine, and
  // this runs between a lock key and the display.
  const core::OsdInputs inputs = CurrentOsdInputs(*this);
  frmOsd->Display(core::IsOsdNeeded(inputs), edOsdOpacity.Position(), cmbOsdSize.ItemIndex(),
                  cmbOsdBody.SelectedColor(), cmbOsdText.SelectedColor(), core::GetOsdText(inputs));
  frmOsd->StayOnTop();
  frmOsd->RestartHideTimer();
  frmOsd->BringToTopmost();
}

}  // namespace lumitrax
