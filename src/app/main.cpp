// Program entry: the application object, the main window, the message loop.
#include <windows.h>

#include "app/form_main.h"
#include "framework/application.h"
#include "framework/com_apartment.h"

using namespace lumitrax;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const TComApartment com;  // links open through the shell, which may use COM
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  TApplication& app = Application();
  app.SetTitle(L"Lumitrax");
  app.Initialize();
  app.LoadIconResource(L"A");
  {
    TfrmMain frmMain;
    app.MainForm = &frmMain;
    app.Run();
  }
  return 0;
}
