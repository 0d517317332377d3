// Shows the settings window of a real main window in one theme and leaves it
// open, so that the theme can be looked at in a screenshot:
//   scripts/bench.sh --screenshot dark.png --shot-after 8 --timeout 14 -- wine build/windows/theme_shot.exe dark
// The argument is "light", "dark" or "high-contrast"; a second one, "about"
// or "confirm", shows the About dialog or the close confirmation instead. High contrast puts the
// system colours of the "High Contrast Black" theme in place for the prefix
// (Wine keeps no high-contrast state of its own) and turns the theme on
// through its seam.
#include <cwchar>
#include <iterator>

#include "app/form_main.h"
#include "framework/application.h"
#include "framework/theme.h"

using namespace lumitrax;

namespace {

void UseHighContrastBlackColours() {
  const int elements[] = {COLOR_BTNFACE,     COLOR_BTNTEXT,  COLOR_WINDOW,      COLOR_WINDOWTEXT, COLOR_GRAYTEXT,
                          COLOR_HIGHLIGHT,   COLOR_HIGHLIGHTTEXT, COLOR_HOTLIGHT, COLOR_3DHILIGHT,  COLOR_3DSHADOW,
                          COLOR_3DDKSHADOW,  COLOR_3DLIGHT,  COLOR_WINDOWFRAME, COLOR_ACTIVECAPTION, COLOR_CAPTIONTEXT};
  const COLORREF colors[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),       RGB(255, 255, 255),
                             RGB(63, 242, 63),   RGB(26, 235, 255),  RGB(0, 0, 0),       RGB(255, 255, 0),
                             RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                             RGB(255, 255, 255), RGB(0, 0, 0),       RGB(255, 255, 255)};
  ::SetSysColors(static_cast<int>(std::size(elements)), elements, colors);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const wchar_t* theme = argc > 1 ? argv[1] : L"light";
  if (std::wcscmp(theme, L"dark") == 0) {
    Theme().SetForTesting(core::ThemeKind::Dark);
  } else if (std::wcscmp(theme, L"high-contrast") == 0) {
    UseHighContrastBlackColours();
    Theme().SetForTesting(core::ThemeKind::HighContrast);
  }
  Application().SetTitle(L"Lumitrax");
  Application().Initialize();
  TfrmMain form;
  if (argc > 2 && std::wcscmp(argv[2], L"about") == 0) {
    form.Close();  // the settings window to the tray: only the dialog shows
    form.actAboutExecute();
    return 0;
  }
  if (argc > 2 && std::wcscmp(argv[2], L"confirm") == 0) {
    form.Show();
    form.actCloseExecute();  // the close confirmation, a message dialog
    return 0;
  }
  form.Show();
  Application().Run();
  return 0;
}
