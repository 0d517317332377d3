// Program entry: the application object, the main window, the message loop.
#include <windows.h>

#include "framework/application.h"
#include "framework/form.h"

using namespace lumitrax;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  TApplication& app = Application();
  app.SetTitle(L"Lumitrax");
  app.Initialize();
  app.LoadIconResource(L"A");
  app.SetHidden(true);

  TForm main_form;
  main_form.Name = L"frmMain";
  app.MainForm = &main_form;
  ::SetWindowTextW(main_form.Handle(), app.Title().c_str());

  app.Run();
  return 0;
}
