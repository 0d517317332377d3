// The main window's settings in the real registry of the test prefix: a save
// and load round trip, damaged values, the window's stored place, the Run
// entry, and the single-instance guard's mutexes and hand-over.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/form_main.h"
#include "app/one_instance.h"
#include "framework/application.h"
#include "framework/version_info.h"
#include "test_support.h"
#include "user_registry.h"

namespace lumitrax {
namespace {

using testing::Pump;
using testing::GetString;
using testing::kKey;
using testing::kOsd;
using testing::kRun;
using testing::kTray;
using testing::PutDword;
using testing::PutString;
using testing::TypeOf;

DWORD GetDword(const wchar_t* key, const wchar_t* name) {
  DWORD value = 0xDEADBEEF, size = sizeof(value);
  EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size), ERROR_SUCCESS)
      << "no number " << std::string(name, name + wcslen(name));
  return value;
}

RECT WindowRect(TfrmMain& form) {
  RECT rect{};
  ::GetWindowRect(form.Handle(), &rect);
  return rect;
}

RECT WorkArea(TfrmMain& form) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ::GetMonitorInfoW(::MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

std::wstring ExeName() {
  const std::wstring path = GetModulePath();
  return path.substr(path.find_last_of(L'\\') + 1);
}

// A main window started on the registry as the test arranged it; the errors
// its start-up raised are collected instead of shown.
class StoredSettings : public ::testing::Test {
 protected:
  void TearDown() override {
    form_.reset();
    Application().OnException = nullptr;
  }
  TfrmMain& Start() {
    errors_.clear();
    Application().OnException = [this](const std::exception& error) { errors_.push_back(error.what()); };
    form_ = std::make_unique<TfrmMain>();
    Pump(50);
    return *form_;
  }
  void Stop() { form_.reset(); }

  std::unique_ptr<TfrmMain> form_;
  std::vector<std::string> errors_;
};

TEST_F(StoredSettings, ASavedRecordComesBackIntoEveryControlAndTheWindowsPlace) {
  TfrmMain& first = Start();
  ASSERT_TRUE(errors_.empty());
  first.chbBeepOnSwitch.SetChecked(false);
  first.cmbLed2.SetItemIndex(0);
  first.chbIconMarks.SetChecked(false);
  first.cmbColor1.SetSelectedColor(0x123456);  // not in the list
  first.cmbColorGrid.SetSelectedColor(0x000000);
  first.chbOsdLed1.SetChecked(true);
  first.chbOsdHideAfter.SetChecked(true);
  first.edOsdHideAfter.SetPosition(12);
  first.edOsdOpacity.SetPosition(55);
  first.cmbOsdSize.SetItemIndex(6);
  first.cmbOsdText.SetSelectedColor(0x00FFFF);
  RECT rect = WindowRect(first);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  ::SetWindowPos(first.Handle(), nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  first.SaveSettings();
  // Saving the settings leaves the display's own position alone; the display
  // stores it itself when it goes (below).
  EXPECT_EQ(TypeOf(kOsd, L"Bounds"), static_cast<DWORD>(REG_NONE));
  Stop();

  // Written with the right types.
  EXPECT_EQ(TypeOf(kKey, L"Bounds"), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(GetString(kKey, L"Bounds"), L"50,60," + std::to_wstring(width) + L"," + std::to_wstring(height));
  EXPECT_EQ(GetDword(kKey, L"Visible"), 1u);
  EXPECT_EQ(GetDword(kKey, L"AutoRun"), 1u);
  EXPECT_EQ(GetDword(kKey, L"BeepOnSwitch"), 0u);
  EXPECT_EQ(GetDword(kTray, L"Led2"), 0u);
  EXPECT_EQ(GetDword(kTray, L"Color1"), 0x123456u);
  EXPECT_EQ(GetDword(kTray, L"GridColor"), 0u);
  EXPECT_EQ(GetDword(kOsd, L"HideInterval"), 12u);
  EXPECT_EQ(GetDword(kOsd, L"Size"), 6u);
  EXPECT_EQ(TypeOf(kOsd, L"Bounds"), static_cast<DWORD>(REG_SZ)) << "the display stored its place as it went";

  TfrmMain& second = Start();
  ASSERT_TRUE(errors_.empty());
  rect = WindowRect(second);
  EXPECT_EQ(rect.left, 50);
  EXPECT_EQ(rect.top, 60);
  EXPECT_TRUE(second.Visible());
  EXPECT_FALSE(second.chbBeepOnSwitch.Checked());
  EXPECT_EQ(second.cmbLed1.ItemIndex(), 1);
  EXPECT_EQ(second.cmbLed2.ItemIndex(), 0);
  EXPECT_FALSE(second.chbIconMarks.Checked());
  EXPECT_EQ(second.cmbColor1.SelectedColor(), 0x123456u);
  // A colour no entry holds becomes the picker's custom colour.
  EXPECT_EQ(second.cmbColor1.CustomColor(), 0x123456u);
  EXPECT_EQ(second.cmbColor1.ItemIndex(), 0);
  EXPECT_EQ(second.cmbColorGrid.SelectedColor(), 0u);
  EXPECT_TRUE(second.chbOsdLed1.Checked());
  EXPECT_TRUE(second.chbOsdLed2.Checked());
  EXPECT_TRUE(second.chbOsdHideAfter.Checked());
  EXPECT_EQ(second.edOsdHideAfter.Position(), 12);
  EXPECT_EQ(second.edOsdOpacity.Position(), 55);
  EXPECT_EQ(second.cmbOsdSize.ItemIndex(), 6);
  EXPECT_EQ(second.cmbOsdText.SelectedColor(), 0x00FFFFu);
}

TEST_F(StoredSettings, ADamagedValueIsReportedAndNoOtherSettingIsLost) {
  PutString(kKey, L"Bounds", L"garbage,,;\x01 x");
  PutString(kKey, L"Visible", L"no");
  PutDword(kKey, L"BeepOnSwitch", 0);
  PutDword(kTray, L"Led1", 7);
  PutDword(kTray, L"Color2", 0xFFFFFFFF);
  PutDword(kOsd, L"HideInterval", static_cast<DWORD>(-5));
  PutDword(kOsd, L"Opacity", 70000);
  PutDword(kOsd, L"Led3", 2);
  TfrmMain& form = Start();

  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "Invalid data type for 'Visible'");
  // "Visible" unreadable: shown, as with nothing stored; "Bounds" unreadable: centred.
  EXPECT_TRUE(form.Visible());
  const RECT rect = WindowRect(form), work = WorkArea(form);
  EXPECT_EQ(rect.left, work.left + (work.right - work.left - (rect.right - rect.left)) / 2);
  EXPECT_EQ(rect.top, work.top + (work.bottom - work.top - (rect.bottom - rect.top)) / 2);
  // The values after the damaged one were all read.
  EXPECT_FALSE(form.chbBeepOnSwitch.Checked());
  EXPECT_EQ(form.cmbLed1.ItemIndex(), -1);
  EXPECT_EQ(form.cmbColor2.SelectedColor(), 0xFFFFFFFFu);
  EXPECT_EQ(form.edOsdHideAfter.Position(), 1);
  EXPECT_EQ(form.edOsdOpacity.Position(), 100);
  EXPECT_TRUE(form.chbOsdLed3.Checked());

  // The next save writes back what was read, the list without selection as -1.
  form.SaveSettings();
  EXPECT_EQ(GetDword(kKey, L"Visible"), 1u);
  EXPECT_EQ(GetDword(kKey, L"BeepOnSwitch"), 0u);
  EXPECT_EQ(GetDword(kTray, L"Led1"), 0xFFFFFFFFu);
  EXPECT_EQ(GetDword(kTray, L"Color2"), 0xFFFFFFFFu);
  EXPECT_EQ(GetDword(kOsd, L"Led3"), 1u);
}

TEST_F(StoredSettings, AHugeBoundsTextOrAStringWhereANumberBelongsNeverLosesTheRest) {
  PutString(kKey, L"Bounds", std::wstring(10 * 1024, L'7'));
  PutDword(kKey, L"AutoRun", 0);
  PutString(kTray, L"Led3", L"3");
  PutDword(kOsd, L"Show", 0);
  PutDword(kOsd, L"Size", 1);
  TfrmMain& form = Start();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "Invalid data type for 'Led3'");
  // Without a comma the text reads as all zeros: centred.
  const RECT rect = WindowRect(form), work = WorkArea(form);
  EXPECT_EQ(rect.left, work.left + (work.right - work.left - (rect.right - rect.left)) / 2);
  EXPECT_FALSE(form.chbAutoRun.Checked());
  EXPECT_EQ(form.cmbLed3.ItemIndex(), 3);
  EXPECT_FALSE(form.grpOsd.CheckBoxChecked());
  EXPECT_EQ(form.cmbOsdSize.ItemIndex(), 1);
}

TEST_F(StoredSettings, TheWindowGoesToItsStoredPlaceAndStaysInsideTheWorkArea) {
  struct Case {
    const wchar_t* bounds;
    int left, top;  // INT_MIN: the work area's edge, INT_MAX: its far edge
  };
  const Case cases[] = {
      {L"120,90,10,10", 120, 90},
      {L"-5000,40,10,10", INT_MIN, 40},
      {L"100,200", INT_MIN, INT_MIN},  // two numbers are right and bottom
      {L"99999,99999,1,1", INT_MAX, INT_MAX},
      {L" 130 , 70 , 0, 0", 130, 70},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.bounds, c.bounds + wcslen(c.bounds)));
    PutString(kKey, L"Bounds", c.bounds);
    TfrmMain& form = Start();
    const RECT rect = WindowRect(form), work = WorkArea(form);
    const int expected_left = c.left == INT_MIN ? work.left : c.left == INT_MAX ? work.right - (rect.right - rect.left)
                                                                                  : c.left;
    const int expected_top = c.top == INT_MIN ? work.top : c.top == INT_MAX ? work.bottom - (rect.bottom - rect.top)
                                                                              : c.top;
    EXPECT_EQ(rect.left, expected_left);
    EXPECT_EQ(rect.top, expected_top);
    Stop();
  }
}

TEST_F(StoredSettings, VisibleStoredAsZeroKeepsTheWindowHiddenAndIsWrittenAgain) {
  PutDword(kKey, L"Visible", 0);
  TfrmMain& form = Start();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.WindowVisible());
  form.SaveSettings();
  EXPECT_EQ(GetDword(kKey, L"Visible"), 0u);
}

TEST_F(StoredSettings, TheRunEntryFollowsTheCheckBoxAtOnceAndAtEveryStart) {
  const std::wstring quoted = L"\"" + GetModulePath() + L"\"";
  TfrmMain& form = Start();
  EXPECT_EQ(GetString(kRun, ExeName().c_str()), quoted) << "a first start registers the program";
  form.chbAutoRun.SetChecked(false);
  EXPECT_EQ(TypeOf(kRun, ExeName().c_str()), static_cast<DWORD>(REG_NONE));
  form.chbAutoRun.SetChecked(true);
  EXPECT_EQ(GetString(kRun, ExeName().c_str()), quoted);
  Stop();

  // "AutoRun" stored off removes an entry left from earlier, and leaves
  // other programs' entries alone.
  PutString(kRun, L"Someone else.exe", L"\"C:\\else.exe\"");
  PutDword(kKey, L"AutoRun", 0);
  Start();
  EXPECT_EQ(TypeOf(kRun, ExeName().c_str()), static_cast<DWORD>(REG_NONE));
  EXPECT_EQ(GetString(kRun, L"Someone else.exe"), L"\"C:\\else.exe\"");
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRun, L"Someone else.exe");
}

// --- The single-instance guard ---

// Another thread of this process stands in for another instance: a mutex is
// owned by a thread, so a check from it finds this thread's instance.
bool ExistsFromAnotherThread(const std::wstring& identifier) {
  std::atomic<bool> exists{false};
  std::thread([&] {
    TOneInstance other;
    other.Identifier = identifier;
    other.PerformChecking = TPerformChecking::pcForCurrentUserOnly;
    exists = other.InstanceExists();
  }).join();
  return exists;
}

TEST(OneInstance, TheFirstCheckOwnsTheInstanceAndOthersSeeItUntilItEnds) {
  const std::wstring id = L"-guard-" + std::to_wstring(::GetTickCount64());
  {
    TOneInstance guard;
    guard.Identifier = id;
    guard.PerformChecking = TPerformChecking::pcForCurrentUserOnly;
    EXPECT_FALSE(guard.InstanceExists());
    // The owner's own second check passes, as the start-up's second one must.
    EXPECT_FALSE(guard.InstanceExists());
    EXPECT_TRUE(ExistsFromAnotherThread(id));
    // Another identity is another program.
    EXPECT_FALSE(ExistsFromAnotherThread(id + L"x"));
  }
  EXPECT_FALSE(ExistsFromAnotherThread(id)) << "the guard's end must free the instance";
}

TEST(OneInstance, AnInstanceThatDiedWithoutEndingDoesNotBlockTheNext) {
  const std::wstring id = L"-died-" + std::to_wstring(::GetTickCount64());
  // The first owner's thread ends without releasing, as a killed process
  // would: the mutex is left abandoned (and the guard deliberately leaked).
  std::thread([&] {
    auto* guard = new TOneInstance;
    guard->Identifier = id;
    guard->PerformChecking = TPerformChecking::pcForCurrentUserOnly;
    EXPECT_FALSE(guard->InstanceExists());
  }).join();
  TOneInstance next;
  next.Identifier = id;
  next.PerformChecking = TPerformChecking::pcForCurrentUserOnly;
  EXPECT_FALSE(next.InstanceExists());
  EXPECT_TRUE(ExistsFromAnotherThread(id)) << "the one that took over now runs";
}

TEST(OneInstance, ADuplicateFindsTheOtherApplicationWindowAndPostsItTheHandOver) {
  const std::wstring id = L"-handover-" + std::to_wstring(::GetTickCount64());
  TOneInstance running;
  running.Identifier = id;
  ASSERT_FALSE(running.InstanceExists());
  // The running instance's application window, beside this process's own.
  TApplication other_app;
  other_app.SetTitle(Application().Title());
  other_app.Initialize();

  TOneInstance probe;
  EXPECT_EQ(probe.FindPrevInstanceWindow(), other_app.Handle());

  std::atomic<bool> checked{false}, terminating{false};
  std::thread([&] {
    TOneInstance duplicate;
    duplicate.Identifier = id;
    checked = duplicate.CheckInstance();
    terminating = duplicate.Terminating();
  }).join();
  EXPECT_TRUE(checked);
  EXPECT_TRUE(terminating);
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, other_app.Handle(), WM_ACTIVATEINSTANCE, WM_ACTIVATEINSTANCE, PM_REMOVE));
  EXPECT_EQ(reinterpret_cast<HWND>(msg.wParam), Application().Handle());
  EXPECT_EQ(reinterpret_cast<HMODULE>(msg.lParam), ::GetModuleHandleW(nullptr));
}


// The taskbar's theme, as Windows keeps it for the user; the test leaves it absent.
const wchar_t* const kPersonalize = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

class GridColorDefault : public StoredSettings {
 protected:
  void SetTheme(int light) {
    if (light < 0)
      ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"SystemUsesLightTheme");
    else
      PutDword(kPersonalize, L"SystemUsesLightTheme", static_cast<DWORD>(light));
  }
  void TearDown() override {
    StoredSettings::TearDown();
    SetTheme(-1);
  }
};

TEST_F(GridColorDefault, FollowsTheTaskbarThemeAndShowsAsTheCustomEntry) {
  const std::pair<int, COLORREF> cases[] = {{1, 0x383838}, {0, 0xD0D0D0}, {-1, 0xD0D0D0}};
  for (const auto& [light, grid] : cases) {
    SCOPED_TRACE(::testing::Message() << "SystemUsesLightTheme " << light);
    SetTheme(light);
    TfrmMain& form = Start();
    EXPECT_EQ(form.cmbColorGrid.SelectedColor(), grid);
    EXPECT_EQ(form.cmbColorGrid.CustomColor(), grid);
    EXPECT_EQ(form.cmbColorGrid.ItemIndex(), 0) << "the custom entry holds the default";
    EXPECT_FALSE(form.GridColorChosen());
    Stop();
  }
}

TEST_F(GridColorDefault, ADefaultIsNotWrittenSoItFollowsALaterThemeSwitch) {
  SetTheme(1);
  TfrmMain& first = Start();
  first.cmbColor1.SetSelectedColor(0x00FF00);
  first.SaveSettings();
  EXPECT_EQ(GetDword(kTray, L"Color1"), 0x00FF00u) << "the rest of the record is written";
  EXPECT_EQ(TypeOf(kTray, L"GridColor"), static_cast<DWORD>(REG_NONE));
  // The theme switches while the program runs, and again before the next start.
  SetTheme(0);
  ::SendMessageW(first.Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
  EXPECT_EQ(first.cmbColorGrid.SelectedColor(), 0xD0D0D0u);
  EXPECT_FALSE(first.GridColorChosen());
  Stop();
  EXPECT_EQ(TypeOf(kTray, L"GridColor"), static_cast<DWORD>(REG_NONE)) << "nor at the end";
  SetTheme(1);
  TfrmMain& second = Start();
  EXPECT_EQ(second.cmbColorGrid.SelectedColor(), 0x383838u);
  EXPECT_EQ(second.cmbColor1.SelectedColor(), 0x00FF00u);
}

TEST_F(GridColorDefault, AStoredOrPickedColourIsTheUsersAndIsKept) {
  SetTheme(1);
  PutDword(kTray, L"GridColor", 0xD0D0D0);  // the old default, stored by an earlier version
  TfrmMain& first = Start();
  EXPECT_EQ(first.cmbColorGrid.SelectedColor(), 0xD0D0D0u) << "a stored colour wins over the theme";
  EXPECT_TRUE(first.GridColorChosen());
  ::SendMessageW(first.Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
  EXPECT_EQ(first.cmbColorGrid.SelectedColor(), 0xD0D0D0u) << "and does not follow a switch";
  first.SaveSettings();
  EXPECT_EQ(GetDword(kTray, L"GridColor"), 0xD0D0D0u);
  Stop();

  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kTray, L"GridColor");
  TfrmMain& second = Start();
  ASSERT_FALSE(second.GridColorChosen());
  // Picked in the list, even the default itself, it is the user's.
  second.cmbColorGrid.SetSelectedColor(0x000000);
  second.cmbColorGrid.SetSelectedColor(0x383838);
  EXPECT_TRUE(second.GridColorChosen());
  second.SaveSettings();
  EXPECT_EQ(GetDword(kTray, L"GridColor"), 0x383838u);
}

// An administrator's policies and presets, under HKLM.
const wchar_t* const kPolicy = L"Software\\Policies\\MOVRANIK\\Lumitrax";

class AdminPolicy : public StoredSettings {
 protected:
  static void Put(const wchar_t* subkey, const wchar_t* name, DWORD value) {
    const std::wstring key = *subkey ? std::wstring(kPolicy) + L"\\" + subkey : std::wstring(kPolicy);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_DWORD, &value, sizeof(value)),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    StoredSettings::TearDown();
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kPolicy);
  }
};

TEST_F(AdminPolicy, PresetsReachTheControlsAndTheFirstSaveStoresThemAsTheUsers) {
  Put(L"", L"UsageReports", 0);
  Put(L"TrayIcon", L"GridColor", 0x00FF00);
  Put(L"OSD", L"Opacity", 40);
  PutDword(kOsd, L"Opacity", 70);  // the user's own
  TfrmMain& form = Start();
  EXPECT_TRUE(errors_.empty());
  EXPECT_FALSE(form.UsageReportsChecked());
  EXPECT_FALSE(form.UsageReportsGreyed()) << "a preset is no policy: the user may turn them on";
  EXPECT_EQ(form.cmbColorGrid.SelectedColor(), 0x00FF00u);
  EXPECT_TRUE(form.GridColorChosen()) << "a preset grid colour is written, not left to follow the theme";
  EXPECT_EQ(form.edOsdOpacity.Position(), 70);
  form.SaveSettings();
  EXPECT_EQ(GetDword(kKey, L"UsageReports"), 0u);
  EXPECT_EQ(GetDword(kTray, L"GridColor"), 0x00FF00u);
  EXPECT_EQ(GetDword(kOsd, L"Opacity"), 70u);
}

TEST_F(AdminPolicy, TheMachinePolicyGreysTheBoxAndKeepsTheUsersChoice) {
  Put(L"", L"DisableUsageReports", 1);
  TfrmMain& form = Start();
  EXPECT_TRUE(form.UsageReportsGreyed());
  EXPECT_FALSE(form.UsageReportsChecked());
  form.SaveSettings();
  EXPECT_EQ(GetDword(kKey, L"UsageReports"), 1u) << "the user's own choice stays stored as it was";
  Put(L"", L"DisableUsageReports", 0);
  EXPECT_FALSE(form.UsageReportsGreyed()) << "read again when asked";
  EXPECT_TRUE(form.UsageReportsChecked());
}

}  // namespace
}  // namespace lumitrax
