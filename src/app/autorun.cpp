// Starting with Windows: the Run entry follows the "AutoRun" check box.
#include "app/form_main.h"
#include "framework/win_registry.h"
#include "core/autorun_entry.h"
#include "framework/scope_exit.h"
#include "framework/text.h"
#include "framework/version_info.h"

namespace lumitrax {

void TfrmMain::chbAutoRunClick() {
  if (FShowingWindowsAutorunChoice) return;
  // The path is taken anew each time: a moved or renamed program registers
  // its new place under its new name.
  TWinRegistry registry;
  const std::string path = Narrow(GetModulePath());
  const bool enabled = CurrentSettings().AutoRun;
  core::ApplyAutorun(registry, enabled, path);
  // Ticked: on in Windows' own list too, or Windows would not start it.
  if (enabled) core::MarkStartupEnabledInWindows(registry, path);
}

void TfrmMain::ApplyAutorunAtStart() {
  TWinRegistry registry;
  if (!core::StartupTurnedOffInWindows(registry, Narrow(GetModulePath()))) {
    chbAutoRunClick();
    return;
  }
  // Windows will not start the program: the box says so. The user's choice
  // there is theirs; the Run entry stays as it is, so that Task Manager still
  // lists it and can turn it on again.
  FShowingWindowsAutorunChoice = true;
  const ScopeExit done([this] { FShowingWindowsAutorunChoice = false; });
  chbAutoRun.SetChecked(false);
}

}  // namespace lumitrax
