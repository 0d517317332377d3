// The program's entries in the settings window's system menu: "About" and a
// separator below it, mirrored from the tray menu.
#include "app/form_main.h"

namespace lumitrax {

void TfrmMain::CreateSystemMenuItems() {
  // Set up like components read from a form description: the entries go in
  // when loading ends, "About" first.
  for (TSystemMenuItem* item : {&smiAbout, &smiSplit}) item->BeginLoading();
  smiAbout.Name = L"smiAbout";
  smiAbout.SetMenuItem(miPopupAbout);
  smiAbout.SetPosition(0);
  smiSplit.Name = L"smiSplit";
  smiSplit.SetMenuItem(miPopup1);
  smiSplit.SetPosition(1);
  for (TSystemMenuItem* item : {&smiAbout, &smiSplit}) item->Loaded();
}

}  // namespace lumitrax
