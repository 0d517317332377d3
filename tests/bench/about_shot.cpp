// Opens the About dialog of a real main window and leaves it open, so the
// application icon can be looked at in a screenshot:
//   scripts/bench.sh --screenshot about.png --shot-after 8 --timeout 14 -- wine build/windows/about_shot.exe
#include "app/form_main.h"
#include "framework/application.h"

using namespace lumitrax;

int main() {
  Application().SetTitle(L"Lumitrax");
  Application().Initialize();
  TfrmMain form;
  form.Close();  // the settings window to the tray: only the dialog shows
  form.actAboutExecute();
  return 0;
}
