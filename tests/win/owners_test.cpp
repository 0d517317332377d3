// The parts of the program on their own, without the main window: the lock
// monitor tells one listener of a change and asks whether to beep; the display
// asks its host what it needs and hands the user's commands to it.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "core/settings_schema.h"
#include "framework/form.h"
#include "indicator/lock_monitor.h"
#include "indicator/lock_state.h"
#include "osd/osd_controller.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::Pump;
using testing::RunUntil;
using testing::SetLock;

TComponent& LockTag(int kind) {
  static TComponent tags[4];
  tags[kind].Tag = kind;
  return tags[kind];
}

class PartsAlone : public ::testing::Test {
 protected:
  void SetUp() override { SetLock(VK_CAPITAL, 2, false); }
  void TearDown() override { SetLock(VK_CAPITAL, 2, false); }
};

TEST_F(PartsAlone, TellsItsListenerOncePerChangeAndBeepsOnlyWhenAsked) {
  TLockMonitor monitor;
  int changes = 0;
  bool beep = false;
  monitor.OnChange = [&] { ++changes; };
  monitor.BeepOnSwitch = [&] { return beep; };

  monitor.SwitchLockClick(LockTag(2));
  EXPECT_TRUE(GetLockState(2));
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(monitor.LockStates()[1]);
  EXPECT_EQ(monitor.BeepCount(), 0) << "the listener said no beep";

  beep = true;
  monitor.SwitchLockClick(LockTag(2));
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(monitor.LockStates()[1]);
  EXPECT_EQ(monitor.BeepCount(), 1);

  // An update that finds nothing new tells nobody.
  monitor.UpdateLockStates();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(monitor.LockUpdateCount(), 2);
}

TEST_F(PartsAlone, TheGuardTimerSeesAChangeWithNoHookAtAll) {
  TLockMonitor monitor;
  int changes = 0;
  monitor.OnChange = [&] { ++changes; };
  ASSERT_FALSE(monitor.KeyboardHook.Installed());
  SetLock(VK_CAPITAL, 2, true);
  EXPECT_TRUE(RunUntil([&] { return changes == 1; }, 2500));
  EXPECT_TRUE(monitor.LockStates()[1]);
}

TEST_F(PartsAlone, ADroppedHookComesBackWithTheRenewal) {
  TForm window;
  TLockMonitor monitor;
  monitor.InstallHook(window.Handle());
  EXPECT_TRUE(monitor.KeyboardHook.Installed());
  monitor.KeyboardHook.Remove();
  EXPECT_FALSE(monitor.KeyboardHook.Installed());
  // The renewal puts a dropped hook back.
  monitor.tmrHookRenewal.SetInterval(20);
  EXPECT_TRUE(RunUntil([&] { return monitor.KeyboardHook.Installed(); }, 2000));
}

class FakeOsdHost : public TOsdHost {
 public:
  HKEY SettingsRoot() const noexcept override { return HKEY_CURRENT_USER; }
  const std::wstring& SettingsKey() const noexcept override { return key; }
  bool SettingsShown() override { return shown; }
  bool TrayMenuShowing() const noexcept override { return false; }
  bool SettingsCommandEnabled() const noexcept override { return true; }
  void OpenSettings() override { ++settings_opened; }
  void PopupTrayMenu(HWND, POINT) override { ++menus; }

  std::wstring key = L"\\Software\\MOVRANIK\\LumitraxOwnersTest";
  bool shown = false;
  int settings_opened = 0;
  int menus = 0;
};

core::Settings CapsOnly() {
  core::Settings settings;
  settings.OsdShow = true;
  settings.OsdLed2 = true;
  settings.OsdAutoHide = true;
  settings.OsdOpacity = 80;
  settings.OsdSize = 3;
  settings.OsdBody = 0x0000FF;
  settings.OsdText = 0xFFFFFF;
  return settings;
}

TEST_F(PartsAlone, TheDisplayAsksItsHostAndHandsItTheUsersCommands) {
  FakeOsdHost host;
  TOsdController controller(host);
  controller.UpdateOsd(CapsOnly());  // nothing to update yet
  EXPECT_FALSE(controller.OsdExists());
  controller.CreateOsd();
  ASSERT_TRUE(controller.OsdExists());

  // Caps off and "Hide when all OFF": hidden in the tray, previewed while the
  // host's settings window shows.
  controller.UpdateOsd(CapsOnly());
  EXPECT_FALSE(controller.frmOsd->Visible());
  host.shown = true;
  controller.UpdateOsd(CapsOnly());
  EXPECT_TRUE(controller.frmOsd->Visible());
  EXPECT_EQ(controller.frmOsd->Text(), L"Caps Lock OFF");

  const HWND osd = controller.frmOsd->Handle();
  ::SendMessageW(osd, WM_LBUTTONDBLCLK, 0, 0);
  EXPECT_EQ(host.settings_opened, 1);
  ::SendMessageW(osd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(osd), MAKELPARAM(10, 10));
  EXPECT_EQ(host.menus, 1);

  controller.DestroyOsd();
  EXPECT_FALSE(controller.OsdExists());
  EXPECT_FALSE(::IsWindow(osd));
  Pump(10);
}

}  // namespace
}  // namespace lumitrax
