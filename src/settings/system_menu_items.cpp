// The program's entries in the settings window's system menu.
#include "app/form_main.h"

namespace lumitrax {

void TfrmMain::CreateSystemMenuItems() {}

}  // namespace lumitrax
