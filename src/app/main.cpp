// Program entry: the application object, the main window, the message loop.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string_view>
#include <vector>

#include "app/exit_request.h"
#include "app/form_main.h"
#include "core/start_switch.h"
#include "framework/application.h"
#include "framework/com_apartment.h"

using namespace lumitrax;

namespace {

core::StartRequest StartRequestOfCommandLine() {
  int count = 0;
  PWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!arguments) return core::StartRequest::Run;
  std::vector<std::wstring_view> switches;
  for (int i = 1; i < count; ++i) switches.emplace_back(arguments[i]);
  const core::StartRequest request = core::ParseStartSwitches(switches);
  ::LocalFree(arguments);
  return request;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const TComApartment com;  // links open through the shell, which may use COM
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  TApplication& app = Application();
  app.SetTitle(L"Lumitrax");
  // "/exit" only asks the running instance to quit; it shows and starts nothing.
  if (StartRequestOfCommandLine() == core::StartRequest::ExitRunningInstance)
    return ExitRunningInstance(kExitWaitMs);
  app.Initialize();
  app.LoadIconResource(L"A");
  return app.RunMainForm([] { return std::make_unique<TfrmMain>(); });
}
