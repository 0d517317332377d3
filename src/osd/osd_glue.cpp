// The main window's side of the on-screen display.
#include "app/form_main.h"

namespace lumitrax {

void TfrmMain::CreateOsd() {}

void TfrmMain::DestroyOsd() {}

void TfrmMain::UpdateOsd() {}

}  // namespace lumitrax
