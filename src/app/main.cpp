// Program entry: the application object, the main window, the message loop.
#include <windows.h>

#include <memory>

#include "app/form_main.h"
#include "framework/application.h"

using namespace lumitrax;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  TApplication& app = Application();
  app.SetTitle(L"Lumitrax");
  app.Initialize();
  app.LoadIconResource(L"A");
  return app.RunMainForm([] { return std::make_unique<TfrmMain>(); });
}
