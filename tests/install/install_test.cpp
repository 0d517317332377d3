// The release's installer and uninstaller under Wine, as a user gets them:
// files, shortcut, the Add/Remove Programs entry, an upgrade over a running
// copy, and uninstalling with and without the settings; the install for
// everyone (Wine's user has administrator rights) and the presets an
// administrator sets for every user's first start. scripts/test-package.sh
// runs these in a fresh prefix with LUMITRAX_SETUP_EXE naming the installer.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "command.h"
#include "e2e_support.h"
#include "user_registry.h"

namespace lumitrax::e2e {
namespace {

using namespace lumitrax::testing;

const wchar_t* const kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumitrax";
constexpr DWORD kInstallerTimeMs = 120000;

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring result;
  if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
  ::CoTaskMemFree(path);
  return result;
}

std::wstring InstallDir() { return KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Lumitrax"; }
std::wstring InstalledExe() { return InstallDir() + L"\\Lumitrax.exe"; }
std::wstring Uninstaller() { return InstallDir() + L"\\uninstall.exe"; }
std::wstring Shortcut() { return KnownFolder(FOLDERID_Programs) + L"\\Lumitrax.lnk"; }

// The install for everyone.
std::wstring CommonInstallDir() { return KnownFolder(FOLDERID_ProgramFiles) + L"\\Lumitrax"; }
std::wstring CommonInstalledExe() { return CommonInstallDir() + L"\\Lumitrax.exe"; }
std::wstring CommonShortcut() { return KnownFolder(FOLDERID_CommonPrograms) + L"\\Lumitrax.lnk"; }
const wchar_t* const kPolicy = L"Software\\Policies\\MOVRANIK\\Lumitrax";

bool MachineKeyExists(const wchar_t* key) {
  HKEY handle = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  ::RegCloseKey(handle);
  return true;
}

std::wstring MachineString(const wchar_t* key, const wchar_t* name) {
  wchar_t text[1024] = {};
  DWORD size = sizeof(text);
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return text;
}

void PutMachineDword(const wchar_t* key, const wchar_t* name, DWORD value) {
  ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, REG_DWORD, &value, sizeof(value)), ERROR_SUCCESS);
}

std::wstring SetupExe() {
  wchar_t path[MAX_PATH] = {};
  return ::GetEnvironmentVariableW(L"LUMITRAX_SETUP_EXE", path, MAX_PATH) ? path : L"";
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(const wchar_t* key) {
  HKEY handle = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  ::RegCloseKey(handle);
  return true;
}

DWORD GetDword(const wchar_t* key, const wchar_t* name) {
  DWORD value = 0xFFFFFFFF;
  DWORD size = sizeof(value);
  ::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

ULONGLONG FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The file version of an executable as "a.b.c.d", or empty.
std::wstring FileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  std::vector<BYTE> data(::GetFileVersionInfoSizeW(path.c_str(), &ignored));
  if (data.empty() || !::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) return L"";
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info) return L"";
  return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
         std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionLS));
}

// Where a shell link points.
std::wstring ShortcutTarget(const std::wstring& link) {
  std::wstring target;
  IShellLinkW* shell_link = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shell_link))))
    return target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shell_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
        SUCCEEDED(shell_link->GetPath(path, MAX_PATH, nullptr, 0)))
      target = path;
    file->Release();
  }
  shell_link->Release();
  return target;
}

struct Instance {
  DWORD pid;
  std::wstring image;
};

// Every running Lumitrax.exe, wherever it was started from.
std::vector<Instance> RunningInstances() {
  std::vector<DWORD> pids(4096);
  DWORD bytes = 0;
  ::EnumProcesses(pids.data(), static_cast<DWORD>(pids.size() * sizeof(DWORD)), &bytes);
  pids.resize(bytes / sizeof(DWORD));
  std::vector<Instance> found;
  for (const DWORD pid : pids) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) continue;
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (::QueryFullProcessImageNameW(process, 0, image, &length)) {
      const std::wstring path(image, length);
      const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
      if (SamePath(name, L"Lumitrax.exe")) found.push_back({pid, path});
    }
    ::CloseHandle(process);
  }
  return found;
}

void KillEveryInstance() {
  for (const Instance& instance : RunningInstances()) {
    if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, instance.pid)) {
      ::TerminateProcess(process, 1);
      ::WaitForSingleObject(process, 5000);
      ::CloseHandle(process);
    }
  }
}

// The visible settings window of a process and its "Beep" check box.
HWND BeepCheckBox(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND box;
  } search{pid, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        wchar_t cls[64] = {};
        ::GetClassNameW(window, cls, 64);
        if (owner != s->pid || std::wstring(cls) != L"TfrmMain") return TRUE;
        ::EnumChildWindows(
            window,
            [](HWND child, LPARAM inner) -> BOOL {
              if (WindowText(child) != L"&Beep on lock state change") return TRUE;
              reinterpret_cast<Search*>(inner)->box = child;
              return FALSE;
            },
            param);
        return s->box ? FALSE : TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.box;
}

class Installer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Exists(SetupExe())) << "LUMITRAX_SETUP_EXE does not name the installer: \"" << Narrow(SetupExe())
                                    << "\"";
    ::CoInitialize(nullptr);
    Forget();
  }
  void TearDown() override {
    KillEveryInstance();
    Forget();
    ::CoUninitialize();
  }

  // A user who never had the program.
  static void Forget() {
    KillEveryInstance();
    ::DeleteFileW(InstalledExe().c_str());
    ::DeleteFileW(Uninstaller().c_str());
    ::RemoveDirectoryW(InstallDir().c_str());
    ::DeleteFileW(Shortcut().c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstall);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kUninstall);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\MOVRANIK");
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\MOVRANIK");
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRun, L"Lumitrax.exe");
    // The install for everyone and the administrator's policies.
    ::DeleteFileW(CommonInstalledExe().c_str());
    ::DeleteFileW((CommonInstallDir() + L"\\uninstall.exe").c_str());
    ::RemoveDirectoryW(CommonInstallDir().c_str());
    ::DeleteFileW(CommonShortcut().c_str());
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstall);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstall);
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Policies\\MOVRANIK");
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Policies\\MOVRANIK");
  }

  static std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

  static void InstallSilently(const std::wstring& switches = L"") {
    const std::optional<DWORD> code = RunToEnd(Quoted(SetupExe()) + L" /S" + switches, kInstallerTimeMs);
    ASSERT_TRUE(code.has_value()) << "the installer did not end";
    ASSERT_EQ(*code, 0u);
  }

  // Starts the installed program and waits until it runs and has written its Run entry.
  static void StartInstalled() {
    Command start(Quoted(InstalledExe()));
    ASSERT_TRUE(WaitFor([] { return ::FindWindowW(L"TApplication", L"Lumitrax") != nullptr; }, 15000));
    ASSERT_TRUE(WaitFor([] { return TypeOf(kRun, L"Lumitrax.exe") != REG_NONE; }, 15000));
  }

  // Runs the uninstaller as Add/Remove Programs would, with the extra switches,
  // and waits until it has removed its entry (it goes on from a copy of itself).
  static void UninstallSilently(const std::wstring& switches, bool settings_too) {
    const std::wstring quiet = GetString(kUninstall, L"QuietUninstallString");
    ASSERT_NE(quiet, L"<missing>");
    const std::optional<DWORD> code = RunToEnd(quiet + switches, kInstallerTimeMs);
    ASSERT_TRUE(code.has_value()) << "the uninstaller did not end";
    ASSERT_EQ(*code, 0u);
    ASSERT_TRUE(WaitFor(
        [&] { return !KeyExists(kUninstall) && !Exists(InstallDir()) && !(settings_too && KeyExists(kKey)); },
        kInstallerTimeMs))
        << "the uninstaller did not finish";
  }
};

TEST_F(Installer, SilentInstallPutsTheProgramTheShortcutAndEveryUninstallValue) {
  InstallSilently();
  EXPECT_TRUE(Exists(InstalledExe()));
  EXPECT_TRUE(Exists(Uninstaller()));
  EXPECT_TRUE(SamePath(ShortcutTarget(Shortcut()), InstalledExe())) << Narrow(ShortcutTarget(Shortcut()));
  EXPECT_TRUE(RunningInstances().empty()) << "a fresh silent install starts nothing";

  // One version everywhere: the program's, the installer's and the entry's.
  const std::wstring version = FileVersion(InstalledExe());
  EXPECT_FALSE(version.empty());
  EXPECT_NE(version, L"0.0.0.0");
  EXPECT_EQ(FileVersion(SetupExe()), version);

  const struct {
    const wchar_t* name;
    std::wstring value;
  } strings[] = {
      {L"DisplayName", L"Lumitrax"},
      {L"DisplayVersion", version},
      {L"Publisher", L"MOVRANIK"},
      {L"DisplayIcon", InstalledExe() + L",0"},
      {L"UninstallString", Quoted(Uninstaller())},
      {L"QuietUninstallString", Quoted(Uninstaller()) + L" /S"},
      {L"InstallLocation", InstallDir()},
  };
  for (const auto& expected : strings) {
    EXPECT_EQ(TypeOf(kUninstall, expected.name), static_cast<DWORD>(REG_SZ)) << Narrow(expected.name);
    EXPECT_TRUE(SamePath(GetString(kUninstall, expected.name), expected.value))
        << Narrow(expected.name) << " is " << Narrow(GetString(kUninstall, expected.name));
  }
  for (const wchar_t* name : {L"EstimatedSize", L"NoModify", L"NoRepair"})
    EXPECT_EQ(TypeOf(kUninstall, name), static_cast<DWORD>(REG_DWORD)) << Narrow(name);
  EXPECT_EQ(GetDword(kUninstall, L"NoModify"), 1u);
  EXPECT_EQ(GetDword(kUninstall, L"NoRepair"), 1u);
  // In kilobytes: at least the program, less than a few megabytes.
  const DWORD kilobytes = GetDword(kUninstall, L"EstimatedSize");
  EXPECT_GE(kilobytes, FileSize(InstalledExe()) / 1024);
  EXPECT_LT(kilobytes, 20u * 1024);
}

TEST_F(Installer, TheInstalledProgramRunsFromItsFolderAndStartsFromThereAtLogon) {
  InstallSilently();
  StartInstalled();
  const std::vector<Instance> running = RunningInstances();
  ASSERT_EQ(running.size(), 1u);
  EXPECT_TRUE(SamePath(running[0].image, InstalledExe())) << Narrow(running[0].image);
  EXPECT_TRUE(SamePath(GetString(kRun, L"Lumitrax.exe"), Quoted(InstalledExe())))
      << Narrow(GetString(kRun, L"Lumitrax.exe"));
}

TEST_F(Installer, UpgradeOverARunningCopyLeavesOneInstanceOfTheNewFilesWithTheSettingsKept) {
  InstallSilently();
  // Mark the installed program as an older build: the upgrade must replace it.
  const ULONGLONG new_size = FileSize(InstalledExe());
  {
    std::ofstream exe(std::filesystem::path(InstalledExe()), std::ios::binary | std::ios::app);
    exe << "an older build";
  }
  ASSERT_NE(FileSize(InstalledExe()), new_size);
  StartInstalled();
  ASSERT_EQ(RunningInstances().size(), 1u);
  const DWORD old_pid = RunningInstances()[0].pid;

  // A setting changed in the running program, saved only when it exits.
  HWND beep = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (beep = BeepCheckBox(old_pid)) != nullptr; }, 15000));
  ASSERT_EQ(::SendMessageW(beep, BM_GETCHECK, 0, 0), BST_CHECKED);
  ::SendMessageW(beep, BM_CLICK, 0, 0);
  ASSERT_EQ(::SendMessageW(beep, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(TypeOf(kKey, L"BeepOnSwitch"), static_cast<DWORD>(REG_NONE));

  InstallSilently();
  EXPECT_EQ(FileSize(InstalledExe()), new_size) << "the program was not replaced";
  // The installer starts the new version; wait until it runs with its settings window.
  std::vector<Instance> running;
  HWND new_beep = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        running = RunningInstances();
        return running.size() == 1 && running[0].pid != old_pid && (new_beep = BeepCheckBox(running[0].pid));
      },
      30000))
      << RunningInstances().size() << " instances run";
  EXPECT_TRUE(SamePath(running[0].image, InstalledExe())) << Narrow(running[0].image);
  // Kept by the old copy's exit and the installer, and read by the new copy.
  EXPECT_EQ(GetDword(kKey, L"BeepOnSwitch"), 0u);
  // The window exists before its start-up has loaded the settings into it.
  EXPECT_TRUE(WaitFor([&] { return ::SendMessageW(new_beep, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 15000))
      << "the new copy did not take over the changed setting";
  EXPECT_EQ(RunningInstances().size(), 1u);
}

// Stands for a Lumitrax that hangs: it holds the instance mutex and has the
// application window, but never reads its messages.
class HungInstance {
 public:
  HungInstance() {
    wchar_t user[261] = {};
    DWORD length = 261;
    ::GetUserNameW(user, &length);
    std::wstring name = std::wstring(user) + L".Lumitrax.OneInstance.Default";
    for (wchar_t& c : name)
      if (c == L'\\') c = L'/';
    mutex_ = ::CreateMutexW(nullptr, TRUE, name.c_str());
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = ::DefWindowProcW;
    window_class.hInstance = ::GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"TApplication";
    ::RegisterClassW(&window_class);
    window_ = ::CreateWindowExW(0, L"TApplication", L"Lumitrax", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                window_class.hInstance, nullptr);
  }
  ~HungInstance() {
    ::DestroyWindow(window_);
    ::ReleaseMutex(mutex_);
    ::CloseHandle(mutex_);
  }
  bool Ready() const { return mutex_ && window_; }

 private:
  HANDLE mutex_ = nullptr;
  HWND window_ = nullptr;
};

TEST_F(Installer, AnInstanceThatDoesNotQuitInTimeStopsTheInstallWithNothingChanged) {
  HungInstance hung;
  ASSERT_TRUE(hung.Ready());
  // The installer gives up after the program's time limit for "/exit".
  const std::optional<DWORD> code = RunToEnd(Quoted(SetupExe()) + L" /S", kInstallerTimeMs);
  ASSERT_TRUE(code.has_value()) << "the installer did not give up";
  EXPECT_NE(*code, 0u);
  EXPECT_FALSE(Exists(InstalledExe()));
  EXPECT_FALSE(KeyExists(kUninstall));
  EXPECT_FALSE(Exists(Shortcut()));
}

TEST_F(Installer, SilentUninstallStopsAndRemovesTheProgramButKeepsTheSettings) {
  InstallSilently();
  StartInstalled();
  // The user's on/off in Task Manager goes with the Run entry.
  const wchar_t* approved = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
  const BYTE off[12] = {0x03};
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, approved, L"Lumitrax.exe", REG_BINARY, off, sizeof(off)),
            ERROR_SUCCESS);
  UninstallSilently(L"", false);
  EXPECT_EQ(TypeOf(approved, L"Lumitrax.exe"), static_cast<DWORD>(REG_NONE));
  EXPECT_TRUE(RunningInstances().empty());
  EXPECT_FALSE(Exists(InstalledExe()));
  EXPECT_FALSE(Exists(Uninstaller()));
  EXPECT_FALSE(Exists(Shortcut()));
  EXPECT_EQ(TypeOf(kRun, L"Lumitrax.exe"), static_cast<DWORD>(REG_NONE));
  EXPECT_FALSE(KeyExists(kUninstall));
  // Written by the program's exit when the uninstaller asked it to quit.
  EXPECT_EQ(TypeOf(kKey, L"BeepOnSwitch"), static_cast<DWORD>(REG_DWORD));
}

TEST_F(Installer, SilentUninstallWithRemoveSettingsDeletesTheSettingsToo) {
  InstallSilently();
  StartInstalled();
  UninstallSilently(L" /REMOVESETTINGS", true);
  EXPECT_TRUE(RunningInstances().empty());
  EXPECT_FALSE(Exists(InstalledExe()));
  EXPECT_FALSE(Exists(Shortcut()));
  EXPECT_EQ(TypeOf(kRun, L"Lumitrax.exe"), static_cast<DWORD>(REG_NONE));
  EXPECT_FALSE(KeyExists(kUninstall));
  EXPECT_FALSE(KeyExists(kKey));
  EXPECT_FALSE(KeyExists(L"Software\\MOVRANIK")) << "the maker's key is left empty";
}

TEST_F(Installer, NoUsageReportsStoresTheUsersChoiceAsOffAndOnlyThen) {
  InstallSilently();
  EXPECT_EQ(TypeOf(kKey, L"UsageReports"), static_cast<DWORD>(REG_NONE)) << "the program's default stands";
  InstallSilently(L" /NOUSAGEREPORTS");
  EXPECT_EQ(TypeOf(kKey, L"UsageReports"), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(GetDword(kKey, L"UsageReports"), 0u);
  // The program keeps it: its first save writes it back as it found it.
  StartInstalled();
  ASSERT_EQ(RunToEnd(Quoted(InstalledExe()) + L" /exit", 30000), std::optional<DWORD>(0u));
  EXPECT_EQ(GetDword(kKey, L"UsageReports"), 0u);
  EXPECT_EQ(TypeOf(kKey, L"BeepOnSwitch"), static_cast<DWORD>(REG_DWORD)) << "the program saved its settings";
}

TEST_F(Installer, ForEveryoneInstallsIntoProgramFilesWithTheMachineEntryUpgradesAsItAndUninstalls) {
  InstallSilently(L" /ALLUSERS");
  EXPECT_TRUE(Exists(CommonInstalledExe())) << Narrow(CommonInstalledExe());
  EXPECT_TRUE(Exists(CommonInstallDir() + L"\\uninstall.exe"));
  EXPECT_TRUE(SamePath(ShortcutTarget(CommonShortcut()), CommonInstalledExe()))
      << Narrow(ShortcutTarget(CommonShortcut()));
  EXPECT_FALSE(Exists(InstalledExe())) << "nothing in the user's own folder";
  EXPECT_FALSE(Exists(Shortcut()));
  EXPECT_FALSE(KeyExists(kUninstall)) << "no entry of the user's own";
  EXPECT_TRUE(SamePath(MachineString(kUninstall, L"InstallLocation"), CommonInstallDir()));
  EXPECT_TRUE(SamePath(MachineString(kUninstall, L"QuietUninstallString"),
                       Quoted(CommonInstallDir() + L"\\uninstall.exe") + L" /S"));
  EXPECT_EQ(MachineString(kUninstall, L"DisplayName"), L"Lumitrax");

  // The user's first start writes that user's Run entry.
  Command start(Quoted(CommonInstalledExe()));
  ASSERT_TRUE(WaitFor([] { return TypeOf(kRun, L"Lumitrax.exe") != REG_NONE; }, 15000));
  EXPECT_TRUE(SamePath(GetString(kRun, L"Lumitrax.exe"), Quoted(CommonInstalledExe())));

  // An upgrade without the switch keeps the kind it finds.
  InstallSilently();
  EXPECT_FALSE(Exists(InstalledExe())) << "the upgrade went into the user's folder";
  EXPECT_FALSE(KeyExists(kUninstall));
  EXPECT_TRUE(SamePath(MachineString(kUninstall, L"InstallLocation"), CommonInstallDir()));
  // The installer starts the new version again; wait until it is up (its
  // settings window shows), so that the uninstaller's request reaches it.
  std::vector<Instance> running;
  ASSERT_TRUE(WaitFor(
      [&] { return (running = RunningInstances()).size() == 1 && BeepCheckBox(running[0].pid) != nullptr; }, 30000));
  EXPECT_TRUE(SamePath(running[0].image, CommonInstalledExe())) << Narrow(running[0].image);

  const std::wstring quiet = MachineString(kUninstall, L"QuietUninstallString");
  ASSERT_EQ(RunToEnd(quiet, kInstallerTimeMs), std::optional<DWORD>(0u));
  ASSERT_TRUE(WaitFor([] { return !MachineKeyExists(kUninstall) && !Exists(CommonInstallDir()); }, kInstallerTimeMs))
      << "the uninstaller did not finish: entry " << MachineKeyExists(kUninstall) << ", program "
      << Exists(CommonInstalledExe()) << ", uninstaller " << Exists(CommonInstallDir() + L"\\uninstall.exe")
      << ", " << RunningInstances().size() << " running";
  EXPECT_FALSE(Exists(CommonShortcut()));
  EXPECT_TRUE(RunningInstances().empty());
  EXPECT_EQ(TypeOf(kRun, L"Lumitrax.exe"), static_cast<DWORD>(REG_NONE)) << "the uninstalling user's Run entry";
}

TEST_F(Installer, AnAdministratorsPresetsAreTakenOnTheFirstStartButNeverOverAStoredValue) {
  const std::wstring tray = std::wstring(kPolicy) + L"\\TrayIcon";
  const std::wstring osd = std::wstring(kPolicy) + L"\\OSD";
  PutMachineDword(kPolicy, L"AutoRun", 0);
  PutMachineDword(kPolicy, L"BeepOnSwitch", 0);
  PutMachineDword(tray.c_str(), L"IconMarks", 0);
  PutMachineDword(osd.c_str(), L"Size", 1);
  // Broken: ignored, the program's default stands.
  ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, osd.c_str(), L"Opacity", REG_SZ, L"40", 3 * sizeof(wchar_t)),
            ERROR_SUCCESS);
  // The user's own stored value wins over the preset.
  PutDword(kTray, L"IconMarks", 1);

  InstallSilently(L" /ALLUSERS");
  Command start(Quoted(CommonInstalledExe()));
  HWND beep = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        const std::vector<Instance> running = RunningInstances();
        return running.size() == 1 && (beep = BeepCheckBox(running[0].pid)) != nullptr &&
               ::SendMessageW(beep, BM_GETCHECK, 0, 0) == BST_UNCHECKED;
      },
      15000))
      << "the preset did not reach the settings window";
  ASSERT_EQ(RunToEnd(Quoted(CommonInstalledExe()) + L" /exit", 30000), std::optional<DWORD>(0u));

  EXPECT_EQ(GetDword(kKey, L"BeepOnSwitch"), 0u);
  EXPECT_EQ(GetDword(kKey, L"AutoRun"), 0u);
  EXPECT_EQ(TypeOf(kRun, L"Lumitrax.exe"), static_cast<DWORD>(REG_NONE)) << "autorun preset off: no Run entry";
  EXPECT_EQ(GetDword(kTray, L"IconMarks"), 1u) << "the stored value was overwritten by the preset";
  EXPECT_EQ(GetDword(kOsd, L"Size"), 1u);
  EXPECT_EQ(GetDword(kOsd, L"Opacity"), 80u) << "a broken preset must be ignored";

  // Stored now, the presets are not taken again: the user's own "on" starts
  // the program at logon although the preset says off.
  PutDword(kKey, L"AutoRun", 1);
  Command again(Quoted(CommonInstalledExe()));
  ASSERT_TRUE(WaitFor([] { return TypeOf(kRun, L"Lumitrax.exe") != REG_NONE; }, 15000))
      << "the preset was taken over the stored value";
  ASSERT_EQ(RunToEnd(Quoted(CommonInstalledExe()) + L" /exit", 30000), std::optional<DWORD>(0u));
  EXPECT_EQ(GetDword(kKey, L"AutoRun"), 1u);
  EXPECT_EQ(GetDword(kKey, L"BeepOnSwitch"), 0u);
}

// The installer's languages. scripts/test-package.sh runs these once for each
// display language it gives Wine, with LUMITRAX_EXPECTED_LANGUAGE naming the
// language ID Setup must choose for it.
// NSIS's own texts in each language: the window titles and the sentence
// that ends our welcome text.
struct LanguageTexts {
  LANGID id;
  const wchar_t* setup_caption;
  const wchar_t* uninstall_caption;
  const wchar_t* click_next;
};
constexpr LanguageTexts kLanguageTexts[] = {
    {1033, L"Lumitrax Setup", L"Lumitrax Uninstall", L"Click Next to continue."},
    {1031, L"Installation von Lumitrax", L"Deinstallation von Lumitrax", L"Klicken Sie auf Weiter, um fortzufahren."},
    {1041, L"Lumitrax \u30BB\u30C3\u30C8\u30A2\u30C3\u30D7", L"Lumitrax \u30A2\u30F3\u30A4\u30F3\u30B9\u30C8\u30FC\u30EB",
     L"\u300C\u6B21\u3078\u300D\u3092\u30AF\u30EA\u30C3\u30AF\u3057\u7D9A\u884C\u3057\u307E\u3059\u3002"},
    {1028, L"Lumitrax \u5B89\u88DD", L"Lumitrax \u89E3\u9664\u5B89\u88DD", L"\u6309\u300C\u4E0B\u4E00\u6B65(N)\u300D\u7E7C\u7E8C\u3002"},
};

const LanguageTexts* TextsOf(LANGID id) {
  for (const LanguageTexts& texts : kLanguageTexts)
    if (texts.id == id) return &texts;
  return nullptr;
}

// A visible top-level dialog of any process with that title; the title of a
// page with no subtitle of its own ends with a space.
HWND FindDialog(const std::wstring& title, DWORD timeout_ms) {
  struct Search {
    const std::wstring* title;
    HWND found;
  } search{&title, nullptr};
  WaitFor(
      [&] {
        ::EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
              auto* s = reinterpret_cast<Search*>(param);
              wchar_t cls[16] = {};
              ::GetClassNameW(window, cls, 16);
              std::wstring text = WindowText(window);
              while (!text.empty() && text.back() == L' ') text.pop_back();
              if (std::wstring(cls) != L"#32770" || !::IsWindowVisible(window) || text != *s->title) return TRUE;
              s->found = window;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeout_ms);
  return search.found;
}

// The titles of the visible top-level windows, for a failure's message.
std::string VisibleTitles() {
  std::string titles;
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        if (!::IsWindowVisible(window)) return TRUE;
        wchar_t cls[64] = {};
        ::GetClassNameW(window, cls, 64);
        std::string& out = *reinterpret_cast<std::string*>(param);
        for (const std::wstring& text : {std::wstring(cls), WindowText(window)}) {
          for (const wchar_t c : text) {
            if (c >= 32 && c < 127) {
              out += static_cast<char>(c);
            } else {
              char code[8] = {'\\', 'u'};
              for (int i = 0; i < 4; ++i) code[2 + i] = "0123456789ABCDEF"[(c >> (12 - 4 * i)) & 0xF];
              out.append(code, 6);
            }
          }
          out += " | ";
        }
        out += "\n";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&titles));
  return titles;
}

// The texts of a window's controls, its pages' too.
std::vector<std::wstring> ControlTexts(HWND window) {
  std::vector<std::wstring> texts;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(WindowText(child));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

void EndProcessOf(HWND window) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, 5000);
    ::CloseHandle(process);
  }
}

class InstallerLanguage : public Installer {
 protected:
  void SetUp() override {
    Installer::SetUp();
    wchar_t value[16] = {};
    ASSERT_TRUE(::GetEnvironmentVariableW(L"LUMITRAX_EXPECTED_LANGUAGE", value, 16))
        << "LUMITRAX_EXPECTED_LANGUAGE names no language";
    expected_ = static_cast<LANGID>(std::wcstoul(value, nullptr, 10));
    texts_ = TextsOf(expected_);
    ASSERT_NE(texts_, nullptr) << "no window titles known for language " << expected_;
  }

  // Starts the uninstaller as Add/Remove Programs does, with its pages, and
  // returns its window once it shows with that title.
  static HWND UninstallerWindow(const wchar_t* title) {
    const std::wstring command = GetString(kUninstall, L"UninstallString");
    EXPECT_NE(command, L"<missing>");
    Command uninstall(command);
    return FindDialog(title, kInstallerTimeMs);
  }

  LANGID expected_ = 0;
  const LanguageTexts* texts_ = nullptr;
};

TEST_F(InstallerLanguage, SilentSetupChoosesTheDisplayLanguageAndKeepsItForTheUninstaller) {
  InstallSilently();
  EXPECT_EQ(TypeOf(kUninstall, L"Installer Language"), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(GetString(kUninstall, L"Installer Language"), std::to_wstring(expected_));
}

TEST_F(InstallerLanguage, TheFirstPageSpeaksTheDisplayLanguage) {
  Command setup(Quoted(SetupExe()));
  const HWND window = FindDialog(texts_->setup_caption, kInstallerTimeMs);
  ASSERT_NE(window, nullptr) << "no Setup window titled in language " << expected_ << "; windows:\n"
                             << VisibleTitles();
  // Our welcome text names the version in every language; only the English
  // one says it in English.
  const std::wstring version = FileVersion(SetupExe());
  std::wstring welcome;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (const std::wstring& text : ControlTexts(window))
          if (text.find(L"Lumitrax " + version) != std::wstring::npos) welcome = text;
        return !welcome.empty();
      },
      15000))
      << "the welcome page shows no text of ours";
  EXPECT_EQ(welcome.find(L"Setup will install") != std::wstring::npos, expected_ == 1033) << Narrow(welcome);
  // All of it in the page's language, also where Setup chose the language
  // itself (Chinese for Hong Kong).
  const std::wstring click_next = texts_->click_next;
  EXPECT_TRUE(welcome.size() > click_next.size() &&
              welcome.compare(welcome.size() - click_next.size(), click_next.size(), click_next) == 0)
      << "the welcome text does not end in the page's language";
  EndProcessOf(window);
}

TEST_F(InstallerLanguage, TheUninstallerSpeaksTheLanguageSetupSpokeOrWithAValueDamagedTheDisplayLanguage) {
  InstallSilently();
  // Setup ran in another language than the one the user sees now.
  const LANGID other = expected_ == 1041 ? 1031 : 1041;
  const LanguageTexts* other_texts = TextsOf(other);
  ASSERT_NE(other_texts, nullptr);
  PutString(kUninstall, L"Installer Language", std::to_wstring(other));
  HWND window = UninstallerWindow(other_texts->uninstall_caption);
  ASSERT_NE(window, nullptr) << "the uninstaller does not speak language " << other << "; windows:\n"
                             << VisibleTitles();
  EndProcessOf(window);

  PutString(kUninstall, L"Installer Language", L"not a language");
  window = UninstallerWindow(texts_->uninstall_caption);
  ASSERT_NE(window, nullptr) << "with the value damaged, the uninstaller does not speak language " << expected_
                             << "; windows:\n"
                             << VisibleTitles();
  EndProcessOf(window);
}

}  // namespace
}  // namespace lumitrax::e2e
