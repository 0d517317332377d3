// Starting with Windows: the Run entry follows the "AutoRun" check box.
#include "app/form_main.h"
#include "framework/win_registry.h"
#include "core/autorun_entry.h"
#include "framework/text.h"
#include "framework/version_info.h"

namespace lumitrax {

void TfrmMain::chbAutoRunClick() {
  // The path is taken anew each time: a moved or renamed program registers
  // its new place under its new name.
  TWinRegistry registry;
  core::ApplyAutorun(registry, CurrentSettings().AutoRun, Narrow(GetModulePath()));
}

}  // namespace lumitrax
