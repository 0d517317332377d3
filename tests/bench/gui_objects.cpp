// Benchmark: do GDI and USER objects stay flat over many lock changes,
// settings-window shows and hides, and tray icon compositions? Runs a real
// main window in this process and prints the object counts before and after
// each round. Wine counts no GUI objects (GetGuiResources reads 0 there), so
// the top of each handle table is printed too: a leak pushes it up.
//
// Usage: gui_objects_bench.exe [LOCK_CHANGES] [SHOW_HIDES] [COMPOSITIONS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/form_main.h"
#include "framework/application.h"

using namespace lumitrax;

namespace {

struct Objects {
  DWORD gdi, user;
  unsigned gdi_top, user_top;
};

// The highest slot new objects get once the table's free slots are used up.
unsigned GdiTop() {
  std::vector<HBRUSH> brushes;
  unsigned top = 0;
  for (int i = 0; i < 300; ++i) {
    brushes.push_back(::CreateSolidBrush(RGB(1, 2, 3)));
    top = std::max(top, static_cast<unsigned>(reinterpret_cast<uintptr_t>(brushes.back()) & 0xFFFF));
  }
  for (HBRUSH brush : brushes) ::DeleteObject(brush);
  return top;
}

unsigned UserTop() {
  std::vector<HMENU> menus;
  unsigned top = 0;
  for (int i = 0; i < 300; ++i) {
    menus.push_back(::CreatePopupMenu());
    top = std::max(top, static_cast<unsigned>(reinterpret_cast<uintptr_t>(menus.back()) & 0xFFFF));
  }
  for (HMENU menu : menus) ::DestroyMenu(menu);
  return top;
}

Objects Count() {
  const HANDLE process = ::GetCurrentProcess();
  return {::GetGuiResources(process, GR_GDIOBJECTS), ::GetGuiResources(process, GR_USEROBJECTS), GdiTop(),
          UserTop()};
}

// Flat: at most two more objects, and the tables' tops within the slack of
// their free lists.
bool Report(const char* round, int count, const Objects& before, const Objects& after) {
  const bool flat = after.gdi <= before.gdi + 2 && after.user <= before.user + 2 &&
                    after.gdi_top < before.gdi_top + 50 && after.user_top < before.user_top + 50;
  std::printf("%s %d: GDI %lu -> %lu, USER %lu -> %lu, GDI table top %u -> %u, USER table top %u -> %u: %s\n",
              round, count, before.gdi, after.gdi, before.user, after.user, before.gdi_top, after.gdi_top,
              before.user_top, after.user_top, flat ? "flat" : "GROWS");
  return flat;
}

int Arg(int argc, char** argv, int index, int fallback) {
  return argc > index ? std::max(1, std::atoi(argv[index])) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int lock_changes = Arg(argc, argv, 1, 10000);
  const int show_hides = Arg(argc, argv, 2, 1000);
  const int compositions = Arg(argc, argv, 3, 10000);
  Application().SetTitle(L"Lumitrax");
  Application().Initialize();
  TfrmMain form;
  form.chbBeepOnSwitch.SetChecked(false);
  form.Close();
  // Warm up: the first display, the first composition and the first show
  // create what lives as long as the program.
  form.LockMonitor.SwitchLockClick(form.btnCapsLock);
  form.LockMonitor.SwitchLockClick(form.btnCapsLock);
  form.Show();
  form.Close();
  Application().ProcessMessages();

  bool flat = true;
  // Every Caps Lock change shows or hides the on-screen display and redraws
  // the tray icon.
  Objects before = Count();
  for (int i = 0; i < lock_changes; ++i) form.LockMonitor.SwitchLockClick(form.btnCapsLock);
  if (form.LockMonitor.LockStates()[1]) form.LockMonitor.SwitchLockClick(form.btnCapsLock);
  Application().ProcessMessages();
  flat &= Report("lock changes", lock_changes, before, Count());

  before = Count();
  for (int i = 0; i < show_hides; ++i) {
    form.Show();
    Application().ProcessMessages();
    form.Close();
    Application().ProcessMessages();
  }
  flat &= Report("settings window shows and hides", show_hides, before, Count());

  before = Count();
  for (int i = 0; i < compositions; ++i) form.ComposeTrayIcons();
  flat &= Report("tray icon compositions", compositions, before, Count());
  std::printf("objects flat: %s\n", flat ? "yes" : "no");
  return flat ? 0 : 1;
}
