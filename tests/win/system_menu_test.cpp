// The program's entries in the settings window's system menu, against the real
// main window: what the menu reads, choosing the entries, moving, removing and
// re-inserting them, and their life beside the menu items they mirror.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/form_main.h"
#include "framework/application.h"
#include "framework/timer.h"
#include "settings/system_menu.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::Pump;
using testing::RunUntil;

struct Entry {
  UINT id = 0;
  std::wstring text;
  UINT type = 0;
  UINT state = 0;
  HMENU sub_menu = nullptr;
};

std::vector<Entry> Entries(HMENU menu) {
  std::vector<Entry> entries;
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 255;
    ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    entries.push_back({info.wID, text, info.fType, info.fState, info.hSubMenu});
  }
  return entries;
}

int IndexOf(HMENU menu, UINT id) {
  const auto entries = Entries(menu);
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].id == id) return static_cast<int>(i);
  return -1;
}

std::vector<UINT> Ids(const std::vector<Entry>& entries, size_t from) {
  std::vector<UINT> ids;
  for (size_t i = from; i < entries.size(); ++i) ids.push_back(entries[i].id);
  return ids;
}

class SystemMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    // Constructed before the window's own hooks, the probe sits below them,
    // next to the window's procedure: it sees what reaches the window.
    probe_ = std::make_unique<TWndProcHook>();
    form_ = std::make_unique<TfrmMain>();
    probe_->SetHandle(window());
    probe_->OnMessageBefore = [this](TCustomWndProcHook&, THookMessage& msg, bool&) {
      seen_.push_back(msg.Msg);
      if (msg.Msg == WM_SYSCOMMAND) reached_.push_back(msg.WParam);
    };
    probe_->SetActive(true);
    form().miPopupAbout->OnClick = [this](TComponent&) { ++about_clicks_; };
    Pump(50);
  }
  void TearDown() override {
    form_.reset();
    probe_.reset();
  }

  TfrmMain& form() { return *form_; }
  HWND window() { return form().Handle(); }
  HMENU menu() { return ::GetSystemMenu(window(), FALSE); }
  void Choose(WPARAM id) { ::SendMessageW(window(), WM_SYSCOMMAND, id, 0); }
  int Reached(WPARAM id) const { return static_cast<int>(std::count(reached_.begin(), reached_.end(), id)); }
  int Seen(UINT message) const { return static_cast<int>(std::count(seen_.begin(), seen_.end(), message)); }

  std::unique_ptr<TWndProcHook> probe_;
  std::unique_ptr<TfrmMain> form_;
  std::vector<WPARAM> reached_;
  std::vector<UINT> seen_;
  int about_clicks_ = 0;
};

TEST_F(SystemMenu, ReadsAboutThenASeparatorThenTheStandardEntries) {
  // The ids: a base per component, 16 apart in construction order, plus the
  // mirrored item's command number.
  EXPECT_EQ(form().smiAbout.CommandBase() % 16, 0);
  EXPECT_EQ(form().smiSplit.CommandBase(), form().smiAbout.CommandBase() + 16);
  EXPECT_EQ(form().smiAbout.GetCommand(), form().smiAbout.CommandBase() + form().miPopupAbout->Command());
  EXPECT_EQ(form().smiSplit.GetCommand(), form().smiSplit.CommandBase() + form().miPopup1->Command());

  const auto entries = Entries(menu());
  ASSERT_GE(entries.size(), 4u);
  EXPECT_EQ(entries[0].text, L"About");
  EXPECT_EQ(entries[0].id, form().smiAbout.GetCommand());
  EXPECT_EQ(entries[0].type & MFT_SEPARATOR, 0u);
  EXPECT_EQ(entries[0].state & (MFS_GRAYED | MFS_CHECKED), 0u);
  EXPECT_NE(entries[1].type & MFT_SEPARATOR, 0u);
  EXPECT_EQ(entries[1].id, form().smiSplit.GetCommand());

  // Below them, exactly the menu a window of the same style has by itself.
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window(), GWL_STYLE)) & ~WS_VISIBLE;
  const HWND plain = ::CreateWindowExW(0, L"STATIC", L"plain", style, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(plain);
  const auto standard = Ids(Entries(::GetSystemMenu(plain, FALSE)), 0);
  ::DestroyWindow(plain);
  EXPECT_EQ(Ids(entries, 2), standard);
  EXPECT_NE(IndexOf(menu(), SC_MOVE), -1);
  EXPECT_NE(IndexOf(menu(), SC_CLOSE), -1);

  EXPECT_TRUE(form().smiAbout.Active());
  EXPECT_TRUE(form().smiSplit.Active());
}

TEST_F(SystemMenu, ChoosingAboutClicksTheTrayItemOnceAndTheWindowStillGetsIt) {
  const UINT about = form().smiAbout.GetCommand();
  Choose(about);
  EXPECT_EQ(about_clicks_, 1);
  EXPECT_EQ(Reached(about), 1) << "the command must go on to the window";

  // The separator's id clicks nothing; a disabled tray item does nothing.
  Choose(form().smiSplit.GetCommand());
  EXPECT_EQ(about_clicks_, 1);
  form().miPopupAbout->Enabled = false;
  Choose(about);
  EXPECT_EQ(about_clicks_, 1);
  EXPECT_EQ(Reached(about), 2);
}

TEST_F(SystemMenu, ChoosingAboutFromTheOpenMenuWithTheKeyboard) {
  form().Show();
  ::SetForegroundWindow(window());
  Pump(200);
  // The menu opens with its first entry, "About", selected; Enter chooses it.
  TTimer enter(400);
  enter.OnTimer = [&](TComponent&) {
    enter.SetEnabled(false);
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_RETURN;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
  };
  TTimer closer(5000);
  closer.OnTimer = [&](TComponent&) {
    closer.SetEnabled(false);
    ::EndMenu();
  };
  ::PostMessageW(window(), WM_SYSCOMMAND, SC_KEYMENU, L' ');
  EXPECT_TRUE(RunUntil([&] { return about_clicks_ == 1; }, 4000));
  Pump(100);
  EXPECT_EQ(about_clicks_, 1);
  EXPECT_EQ(Reached(form().smiAbout.GetCommand()), 1);
}

TEST_F(SystemMenu, MoveAndCloseAreUnaffected) {
  form().Show();
  ::SetForegroundWindow(window());
  Pump(100);
  // Move from the keyboard: the first arrow key starts the system's move
  // loop, Enter ends it. Should the loop hang on, Escape ends it.
  ::PostMessageW(window(), WM_KEYDOWN, VK_RIGHT, 0);
  ::PostMessageW(window(), WM_KEYDOWN, VK_RETURN, 0);
  TTimer escape(2000);
  escape.OnTimer = [&](TComponent&) { ::PostMessageW(window(), WM_KEYDOWN, VK_ESCAPE, 0); };
  Choose(SC_MOVE);
  escape.SetEnabled(false);
  EXPECT_EQ(Reached(SC_MOVE), 1);
  EXPECT_EQ(Seen(WM_ENTERSIZEMOVE), 1) << "the move loop did not run";
  EXPECT_EQ(Seen(WM_EXITSIZEMOVE), 1);

  // Close hides the window to the tray, as it does without the entries.
  Choose(SC_CLOSE);
  Pump(50);
  EXPECT_FALSE(::IsWindowVisible(window()));
  EXPECT_EQ(Reached(SC_CLOSE), 1);
  EXPECT_EQ(about_clicks_, 0);
  EXPECT_TRUE(form().smiAbout.Active());
}

TEST_F(SystemMenu, ChangingPositionMovesTheEntry) {
  const UINT about = form().smiAbout.GetCommand();
  const int count = ::GetMenuItemCount(menu());
  form().smiAbout.SetPosition(3);
  EXPECT_EQ(IndexOf(menu(), about), 3);
  EXPECT_EQ(IndexOf(menu(), form().smiSplit.GetCommand()), 0);
  EXPECT_EQ(::GetMenuItemCount(menu()), count);
  EXPECT_TRUE(form().smiAbout.Active());

  form().smiAbout.SetPosition(0);
  EXPECT_EQ(IndexOf(menu(), about), 0);
  EXPECT_EQ(Entries(menu())[0].text, L"About");
  Choose(about);
  EXPECT_EQ(about_clicks_, 1);
}

TEST_F(SystemMenu, InsertedFalseRemovesEntryAndHookTrueRestoresBoth) {
  const UINT about = form().smiAbout.GetCommand();
  const int count = ::GetMenuItemCount(menu());
  form().smiAbout.SetInserted(false);
  EXPECT_EQ(IndexOf(menu(), about), -1);
  EXPECT_EQ(::GetMenuItemCount(menu()), count - 1);
  EXPECT_FALSE(form().smiAbout.Active());
  Choose(about);
  EXPECT_EQ(about_clicks_, 0);
  EXPECT_EQ(Reached(about), 1);

  form().smiAbout.SetInserted(true);
  EXPECT_EQ(IndexOf(menu(), about), 0);
  EXPECT_TRUE(form().smiAbout.Active());
  Choose(about);
  EXPECT_EQ(about_clicks_, 1);

  // With both removed, the window's own procedure is back beneath the probe.
  form().smiAbout.SetInserted(false);
  form().smiSplit.SetInserted(false);
  EXPECT_EQ(::GetMenuItemCount(menu()), count - 2);
  probe_->SetActive(false);
  EXPECT_EQ(::GetWindowLongPtrW(window(), GWLP_WNDPROC), ::GetClassLongPtrW(window(), GCLP_WNDPROC));
}

TEST_F(SystemMenu, TwoComponentsMirroringOneItemGetEntriesOfTheirOwn) {
  auto first = std::make_unique<TSystemMenuItem>(&form());
  TSystemMenuItem second(&form());
  first->SetMenuItem(form().miPopupAbout);
  second.SetMenuItem(form().miPopupAbout);
  EXPECT_EQ(second.GetCommand(), first->GetCommand() + 16);
  int abouts = 0;
  for (const auto& entry : Entries(menu())) abouts += entry.text == L"About";
  EXPECT_EQ(abouts, 3);

  Choose(second.GetCommand());
  EXPECT_EQ(about_clicks_, 1) << "only the entry chosen clicks";

  // Freeing one removes its own entry only, though the texts are the same.
  first.reset();
  EXPECT_EQ(IndexOf(menu(), second.GetCommand()), 0);
  EXPECT_EQ(IndexOf(menu(), form().smiAbout.GetCommand()), 1);
  abouts = 0;
  for (const auto& entry : Entries(menu())) abouts += entry.text == L"About";
  EXPECT_EQ(abouts, 2);
}

TEST_F(SystemMenu, ShortcutIsShownAfterATabAndRemovalCutsItOff) {
  TMenuItem options(L"&Options");
  options.ShortCut = scCtrl | scShift | VK_F5;
  TSystemMenuItem smi(&form());
  smi.SetMenuItem(&options);
  smi.SetPosition(2);
  ASSERT_EQ(IndexOf(menu(), smi.GetCommand()), 2);
  EXPECT_EQ(Entries(menu())[2].text, L"&Options\tShift+Ctrl+F5");
  smi.SetInserted(false);
  EXPECT_EQ(IndexOf(menu(), smi.GetCommand()), -1);

  // The caption is compared without regard to case...
  smi.SetInserted(true);
  options.Caption = L"&OPTIONS";
  smi.SetInserted(false);
  EXPECT_EQ(IndexOf(menu(), smi.GetCommand()), -1);

  // ...but an entry whose text is no longer the caption is left alone.
  smi.SetInserted(true);
  options.Caption = L"Preferences";
  smi.SetInserted(false);
  EXPECT_EQ(IndexOf(menu(), smi.GetCommand()), 2);
  EXPECT_FALSE(smi.Active());
  ::DeleteMenu(menu(), smi.GetCommand(), MF_BYCOMMAND);

  EXPECT_EQ(ShortCutToText(scCtrl | 'S'), L"Ctrl+S");
  EXPECT_EQ(ShortCutToText(scAlt | VK_DELETE), L"Alt+Del");
  EXPECT_EQ(ShortCutToText(0), L"");
}

TEST_F(SystemMenu, FreeingTheMirroredItemRemovesTheEntryFirst) {
  auto help = std::make_unique<TMenuItem>(L"Help");
  TSystemMenuItem smi(&form());
  smi.SetMenuItem(help.get());
  const UINT id = smi.GetCommand();
  ASSERT_EQ(IndexOf(menu(), id), 0);
  // The entry can only go if the item was still whole when asked for its caption.
  help.reset();
  EXPECT_EQ(IndexOf(menu(), id), -1);
  EXPECT_EQ(smi.MenuItem(), nullptr);
  EXPECT_FALSE(smi.Active());
  EXPECT_EQ(Entries(menu())[0].text, L"About");

  // The other way round: a component freed first leaves the item no observer.
  TMenuItem item(L"Other");
  {
    TSystemMenuItem gone(&form());
    gone.SetMenuItem(&item);
    EXPECT_NE(IndexOf(menu(), gone.GetCommand()), -1);
  }
  EXPECT_EQ(Entries(menu())[0].text, L"About");
}

TEST_F(SystemMenu, SubMenuEntriesClickTheSubItems) {
  int caps_clicks = 0;
  form().miCapsLock->OnClick = [&](TComponent&) { ++caps_clicks; };
  TSystemMenuItem smi(&form());
  smi.SetMenuItem(form().miSwitch);
  smi.SetPosition(2);
  const auto entries = Entries(menu());
  ASSERT_EQ(entries[2].text, L"Switch");
  ASSERT_TRUE(entries[2].sub_menu);
  const auto items = Entries(entries[2].sub_menu);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[1].text, L"Caps Lock");
  EXPECT_EQ(items[1].id, form().miCapsLock->Command()) << "sub-entries carry their own command numbers";

  Choose(form().miCapsLock->Command());
  EXPECT_EQ(caps_clicks, 1);
  EXPECT_EQ(about_clicks_, 0);
}

TEST_F(SystemMenu, InsertToAppMenuMovesTheEntryToTheApplicationWindow) {
  TMenuItem item(L"Restart");
  TSystemMenuItem smi(&form());
  smi.SetMenuItem(&item);
  const HMENU app_menu = ::GetSystemMenu(Application().Handle(), FALSE);
  smi.SetInsertToAppMenu(true);
  EXPECT_EQ(IndexOf(menu(), smi.GetCommand()), -1);
  EXPECT_EQ(IndexOf(app_menu, smi.GetCommand()), 0);
  EXPECT_EQ(smi.Handle(), Application().Handle());
  smi.SetInsertToAppMenu(false);
  EXPECT_EQ(IndexOf(app_menu, smi.GetCommand()), -1);
  EXPECT_EQ(IndexOf(menu(), smi.GetCommand()), 0);
}

TEST(SystemMenuEntry, CopiesTheItemsStateOnce) {
  const HMENU menu = ::CreatePopupMenu();
  TMenuItem item(L"Mode");
  item.Checked = true;
  item.Enabled = false;
  item.Default = true;
  item.RadioItem = true;
  item.Break = TMenuBreak::mbBarBreak;
  ASSERT_TRUE(InsertMenuEntry(menu, item, 0, 500, true, nullptr));
  auto entries = Entries(menu);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].id, 500u);
  EXPECT_EQ(entries[0].type, static_cast<UINT>(MFT_RADIOCHECK | MFT_MENUBARBREAK | MFT_RIGHTORDER | MFT_RIGHTJUSTIFY));
  EXPECT_EQ(entries[0].state & (MFS_CHECKED | MFS_GRAYED | MFS_DEFAULT),
            static_cast<UINT>(MFS_CHECKED | MFS_GRAYED | MFS_DEFAULT));

  // Later changes of the item do not reach the entry.
  item.Checked = false;
  EXPECT_NE(Entries(menu)[0].state & MFS_CHECKED, 0u);

  // An invisible item gets no entry, and the sub-menu handed over is freed.
  item.Visible = false;
  const HMENU sub = ::CreatePopupMenu();
  EXPECT_FALSE(InsertMenuEntry(menu, item, 0, 501, false, sub));
  EXPECT_EQ(::GetMenuItemCount(menu), 1);
  EXPECT_FALSE(::IsMenu(sub));
  ::DestroyMenu(menu);
}

// Not a test: opens the settings window's system menu for a screenshot of the
// Wine desktop (run with --gtest_also_run_disabled_tests and the bench's
// --screenshot).
TEST(SystemMenuShowcase, DISABLED_WindowMenuOpenForAScreenshot) {
  TfrmMain form;
  form.Show();
  ::SetForegroundWindow(form.Handle());
  Pump(300);
  TTimer closer(6000);
  closer.OnTimer = [&](TComponent&) {
    closer.SetEnabled(false);
    ::EndMenu();
  };
  ::PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_KEYMENU, L' ');
  Pump(6500);
}

}  // namespace
}  // namespace lumitrax
