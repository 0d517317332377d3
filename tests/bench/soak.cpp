// Benchmark: a soak of the real Lumitrax.exe, driven from this process the way
// a long day drives it: many lock changes, the settings window shown and hidden,
// the display shown and faded, the taskbar re-created, second starts handing
// over. Then it looks at what a leak or a stuck program would show: does the
// program still answer, how many tray icons are there, did its handle counts
// and memory grow, is the settings record unchanged.
//
// Prints one "figure<TAB>value" line per figure. The figures are not judged
// here; the run fails (exit code 1) only when the program stops answering or
// is gone.
//
// Usage: soak_bench.exe [--short] [--locks=N] [--settings=N] [--displays=N]
//                       [--taskbar=N] [--handovers=N]
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "e2e_support.h"

using lumitrax::e2e::Program;

namespace {

constexpr UINT kTrayNotify = 1235;  // the tray icon's callback message
const wchar_t* const kKey = L"Software\\MOVRANIK\\Lumitrax";

struct Counts {
  int locks = 10000;
  int settings = 1000;
  int displays = 1000;
  int taskbar = 100;
  int handovers = 100;
};

Counts ParseCounts(int argc, char** argv) {
  Counts counts;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto number = [&](const char* prefix, int& into) {
      const size_t length = std::strlen(prefix);
      if (arg.compare(0, length, prefix) == 0) into = std::max(0, std::atoi(arg.c_str() + length));
    };
    if (arg == "--short") counts = {200, 20, 5, 10, 3};
    number("--locks=", counts.locks);
    number("--settings=", counts.settings);
    number("--displays=", counts.displays);
    number("--taskbar=", counts.taskbar);
    number("--handovers=", counts.handovers);
  }
  return counts;
}

// Quiet while the soak warms up.
bool g_quiet = false;

void Figure(const char* name, const std::string& value) {
  if (g_quiet) return;
  std::printf("%s\t%s\n", name, value.c_str());
  std::fflush(stdout);
}
void Figure(const char* name, long long value) { Figure(name, std::to_string(value)); }
void FigureMs(const char* name, double value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.1f", value);
  Figure(name, text);
}

double NowMs() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Polls finely, so the times measured are those of the program, not of the poll.
bool WaitUntil(const std::function<bool()>& condition, double timeout_ms) {
  const double deadline = NowMs() + timeout_ms;
  while (!condition()) {
    if (NowMs() >= deadline) return false;
    ::Sleep(1);
  }
  return true;
}

void PressKey(WORD key) {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

bool Shown(HWND window) { return ::IsWindowVisible(window) != FALSE; }

// Median, 99th percentile and worst of a set of times.
void Percentiles(const std::string& name, std::vector<double> times) {
  if (times.empty()) return;
  std::sort(times.begin(), times.end());
  FigureMs((name + " median ms").c_str(), times[times.size() / 2]);
  FigureMs((name + " p99 ms").c_str(), times[std::min(times.size() - 1, times.size() * 99 / 100)]);
  FigureMs((name + " worst ms").c_str(), times.back());
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

void PutDword(const wchar_t* subkey, const wchar_t* name, DWORD value) {
  std::wstring key = kKey;
  if (*subkey) key += std::wstring(L"\\") + subkey;
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &value, sizeof(value));
}

// Every value under the program's key, by its path.
using RegistryRecord = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;

void ReadKey(HKEY root, const std::wstring& path, RegistryRecord& record) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_length = 256, type = 0, size = 0;
    if (::RegEnumValueW(key, i, name, &name_length, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<BYTE> data(size);
    name_length = 256;
    ::RegEnumValueW(key, i, name, &name_length, nullptr, &type, data.data(), &size);
    record[path + L"\\" + name] = {type, data};
  }
  std::vector<std::wstring> subkeys;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_length = 256;
    if (::RegEnumKeyExW(key, i, name, &name_length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.push_back(name);
  }
  ::RegCloseKey(key);
  for (const std::wstring& subkey : subkeys) ReadKey(root, path + L"\\" + subkey, record);
}

std::string CompareRecords(const RegistryRecord& before, const RegistryRecord& after) {
  std::string changed;
  auto note = [&](const std::wstring& name) {
    changed += (changed.empty() ? "" : ", ") + Narrow(name.substr(std::wcslen(kKey) + 1));
  };
  for (const auto& [name, value] : before) {
    const auto found = after.find(name);
    if (found == after.end() || found->second != value) note(name);
  }
  for (const auto& [name, value] : after)
    if (!before.count(name)) note(name);
  return changed.empty() ? "intact (" + std::to_string(before.size()) + " values)" : "changed: " + changed;
}

// Under Wine the program is a Linux process too, and Linux shows its memory
// and threads where Windows' counters read 0 for another process: its entry
// in /proc (drive Z: is the root) is the one that runs Lumitrax.exe in this
// Wine prefix.
std::string ReadWholeFile(const std::wstring& path) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
  ::CloseHandle(file);
  return text;
}

std::wstring LinuxProcessDir() {
  wchar_t prefix[1024] = {};
  if (!::GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024)) return {};
  const std::string wanted = std::string("WINEPREFIX=") + Narrow(prefix) + '\0';
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(L"Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::wstring result;
  do {
    if (!std::iswdigit(found.cFileName[0])) continue;
    const std::wstring dir = std::wstring(L"Z:\\proc\\") + found.cFileName;
    if (ReadWholeFile(dir + L"\\cmdline").find("Lumitrax.exe") == std::string::npos) continue;
    if ((ReadWholeFile(dir + L"\\environ") + '\0').find(wanted) == std::string::npos) continue;
    result = dir;
    break;
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return result;
}

// A number from /proc/N/status ("RssAnon:   1234 kB" gives 1234), or -1.
long long StatusField(const std::wstring& dir, const char* field) {
  if (dir.empty()) return -1;
  const std::string status = ReadWholeFile(dir + L"\\status");
  const size_t at = status.find(std::string(field) + ":");
  if (at == std::string::npos) return -1;
  return std::atoll(status.c_str() + at + std::strlen(field) + 1);
}

// What a leak would move.
struct Resources {
  DWORD gdi = 0, user = 0, handles = 0;
  SIZE_T private_kib = 0;
  unsigned user_table_top = 0;
  long long rss_anon_kib = -1, threads = -1;
  int windows = 0, shell_windows = 0;
};

// How far up the shared USER handle table new objects go: 300 new icons use
// up its free slots and reach the top, which a leak anywhere pushes up.
unsigned UserTableTop() {
  std::vector<HICON> icons;
  const BYTE and_bits[32]{}, xor_bits[32]{};
  unsigned top = 0;
  for (int i = 0; i < 300; ++i) {
    icons.push_back(::CreateIcon(nullptr, 16, 16, 1, 1, and_bits, xor_bits));
    top = std::max(top, static_cast<unsigned>(reinterpret_cast<uintptr_t>(icons.back()) & 0xFFFF));
  }
  for (HICON icon : icons) ::DestroyIcon(icon);
  return top;
}

int TopLevelWindows(DWORD process_id);
DWORD ShellProcessId();

Resources Measure(HANDLE process, const std::wstring& linux_dir) {
  Resources r;
  r.windows = TopLevelWindows(::GetProcessId(process));
  r.shell_windows = TopLevelWindows(ShellProcessId());
  r.gdi = ::GetGuiResources(process, GR_GDIOBJECTS);
  r.user = ::GetGuiResources(process, GR_USEROBJECTS);
  ::GetProcessHandleCount(process, &r.handles);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory)))
    r.private_kib = memory.PrivateUsage / 1024;
  r.user_table_top = UserTableTop();
  r.rss_anon_kib = StatusField(linux_dir, "RssAnon");
  r.threads = StatusField(linux_dir, "Threads");
  return r;
}

// The icons the shell knows for the program: every top-level window of the
// process (hidden ones too) asked for its first icon ids with a modification
// that changes nothing. Counts what the user sees, on Windows and under Wine.
int ProgramTrayIcons(DWORD process_id) {
  struct Search {
    DWORD process_id;
    int icons;
  } search{process_id, 0};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        if (pid != s->process_id) return TRUE;
        for (UINT id = 0; id < 8; ++id) {
          NOTIFYICONDATAW data{};
          data.cbSize = sizeof(data);
          data.hWnd = window;
          data.uID = id;
          if (::Shell_NotifyIconW(NIM_MODIFY, &data)) ++s->icons;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.icons;
}

// The top-level windows of a process, hidden ones included.
int TopLevelWindows(DWORD process_id) {
  struct Search {
    DWORD process_id;
    int windows;
  } search{process_id, 0};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        if (pid == s->process_id) ++s->windows;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.windows;
}

DWORD ShellProcessId() {
  DWORD pid = 0;
  if (const HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr)) ::GetWindowThreadProcessId(taskbar, &pid);
  return pid;
}

bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

class Soak {
 public:
  explicit Soak(Program& program) : program_(program) {}

  bool Start() {
    app_ = program_.FindWindow(L"TApplication", L"Lumitrax", 15000);
    main_ = program_.FindWindow(L"TfrmMain", L"Lumitrax", 15000);
    tray_ = program_.FindWindow(L"TTrayIconWindow", nullptr, 15000);
    osd_ = program_.FindWindow(L"TfrmOsd", nullptr, 15000);
    if (!app_ || !main_ || !tray_ || !osd_) return false;
    return WaitUntil([&] { return ProgramTrayIcons(program_.ProcessId()) > 0; }, 15000);
  }
  bool Alive() { return program_.Running() && Answers(main_) && Answers(app_); }
  // A wait that failed: the program may be gone or stuck, and then the rest
  // of the soak would only wait out its time-outs.
  bool Stuck() {
    if (!stuck_ && !Alive()) stuck_ = true;
    return stuck_;
  }

  // Caps Lock pressed once; the display (Caps Lock only, hidden while off)
  // shows the change. Returns the time to see it, or a negative time.
  double ChangeCapsLock() {
    caps_on_ = !caps_on_;
    const double start = NowMs();
    PressKey(VK_CAPITAL);
    if (WaitUntil([&] { return Shown(osd_) == caps_on_; }, 3000)) return NowMs() - start;
    caps_on_ = Shown(osd_);  // what the program shows is what counts from here
    Stuck();
    return -1;
  }
  void CapsLockOff() {
    if (caps_on_) ChangeCapsLock();
  }

  void LockChanges(int count) {
    std::vector<double> times;
    for (int i = 0; i < count && !stuck_; ++i)
      if (const double ms = ChangeCapsLock(); ms >= 0) times.push_back(ms);
    CapsLockOff();
    Figure("lock changes", count);
    Figure("lock changes shown", static_cast<long long>(times.size()));
    Percentiles("lock change to display", times);
  }

  // With Caps Lock on, each Num Lock change shows the display again, and the
  // hide timer fades it out a second later.
  void DisplayFades(int count) {
    std::vector<double> times;
    int num_presses = 0;
    if (!caps_on_) ChangeCapsLock();
    for (int i = 0; i < count && !stuck_; ++i) {
      if (i > 0) {
        PressKey(VK_NUMLOCK);
        ++num_presses;
        if (!WaitUntil([&] { return Shown(osd_); }, 3000)) {
          Stuck();
          continue;
        }
      }
      const double start = NowMs();
      if (WaitUntil([&] { return !Shown(osd_); }, 5000))
        times.push_back(NowMs() - start);
      else
        Stuck();
    }
    if (num_presses % 2) PressKey(VK_NUMLOCK);
    // Off again; the display is hidden already, so nothing shows it, and the
    // phases after this one do not depend on the display.
    PressKey(VK_CAPITAL);
    caps_on_ = false;
    Figure("display show and fade", count);
    Figure("display fades seen", static_cast<long long>(times.size()));
    Percentiles("display shown to faded out", times);
  }

  bool ShowSettings() {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(tray_, kTrayNotify, 0, WM_LBUTTONDBLCLK, SMTO_ABORTIFHUNG, 5000, &result);
    if (WaitUntil([&] { return Shown(main_); }, 5000)) return true;
    Stuck();
    return false;
  }
  bool HideSettings() {
    ::PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (WaitUntil([&] { return !Shown(main_); }, 5000)) return true;
    Stuck();
    return false;
  }

  void SettingsWindow(int count) {
    std::vector<double> shows, hides;
    for (int i = 0; i < count && !stuck_; ++i) {
      double start = NowMs();
      if (ShowSettings()) shows.push_back(NowMs() - start);
      start = NowMs();
      if (HideSettings()) hides.push_back(NowMs() - start);
    }
    Figure("settings window shown and hidden", count);
    Figure("settings window shows seen", static_cast<long long>(shows.size()));
    Figure("settings window hides seen", static_cast<long long>(hides.size()));
    Percentiles("settings window show", shows);
    Percentiles("settings window hide (settings written)", hides);
  }

  void TaskbarCreated(int count) {
    const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    int answered = 0;
    std::vector<double> times;
    for (int i = 0; i < count && !stuck_; ++i) {
      DWORD_PTR result = 0;
      const double start = NowMs();
      if (::SendMessageTimeoutW(tray_, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) {
        ++answered;
        times.push_back(NowMs() - start);
      } else {
        Stuck();
      }
    }
    Figure("TaskbarCreated sent", count);
    Figure("TaskbarCreated answered", answered);
    Percentiles("TaskbarCreated icon re-added", times);
    Figure("settings window shown by TaskbarCreated", Shown(main_) ? "yes" : "no");
  }

  void HandOvers(int count) {
    std::vector<double> times;
    int clean_exits = 0;
    for (int i = 0; i < count && !stuck_; ++i) {
      const double start = NowMs();
      DWORD exit_code = 99;
      {
        Program second;
        if (second.WaitForExit(20000, &exit_code) && exit_code == 0) ++clean_exits;
      }
      if (WaitUntil([&] { return Shown(main_); }, 5000))
        times.push_back(NowMs() - start);
      else
        Stuck();
      HideSettings();
    }
    Figure("second starts", count);
    Figure("second starts ended at once", clean_exits);
    Figure("second starts handed over", static_cast<long long>(times.size()));
    Percentiles("second start to settings window", times);
  }

  HWND main() const { return main_; }

 private:
  Program& program_;
  HWND app_ = nullptr, main_ = nullptr, tray_ = nullptr, osd_ = nullptr;
  bool caps_on_ = false;
  bool stuck_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  const Counts counts = ParseCounts(argc, argv);
  const double soak_start = NowMs();

  // A record of the user's own: no window at start, the display fades one
  // second after it shows, and no beeps (the soak measures the program, not
  // the sound system).
  PutDword(L"", L"Visible", 0);
  PutDword(L"", L"BeepOnSwitch", 0);
  PutDword(L"OSD", L"HideAfter", 1);
  PutDword(L"OSD", L"HideInterval", 1);

  Program program;
  Soak soak(program);
  if (!soak.Start()) {
    Figure("program started", "no");
    return 1;
  }
  // Found while no second start runs beside it.
  const std::wstring linux_dir = LinuxProcessDir();
  // One of each first, so that what is made once per run is made before the
  // counts are taken.
  g_quiet = true;
  soak.LockChanges(2);
  soak.SettingsWindow(1);
  soak.TaskbarCreated(1);
  soak.HandOvers(1);
  g_quiet = false;
  const RegistryRecord record_before = [] {
    RegistryRecord record;
    ReadKey(HKEY_CURRENT_USER, kKey, record);
    return record;
  }();
  const Resources before = Measure(program.Process(), linux_dir);

  // The USER table after each phase tells which one a leak belongs to.
  auto user_table_after = [](const char* phase) {
    Figure((std::string("USER handle table top after ") + phase).c_str(), UserTableTop());
  };
  soak.LockChanges(counts.locks);
  user_table_after("lock changes");
  soak.SettingsWindow(counts.settings);
  user_table_after("settings window");
  soak.DisplayFades(counts.displays);
  user_table_after("display fades");
  soak.TaskbarCreated(counts.taskbar);
  user_table_after("TaskbarCreated");
  soak.HandOvers(counts.handovers);
  user_table_after("second starts");

  const bool alive = soak.Alive();
  Figure("program answers", alive ? "yes" : "no");
  const Resources after = Measure(program.Process(), linux_dir);
  Figure("tray icons of the program", ProgramTrayIcons(program.ProcessId()));
  Figure("GDI objects before", before.gdi);
  Figure("GDI objects after", after.gdi);
  Figure("USER objects before", before.user);
  Figure("USER objects after", after.user);
  // GetGuiResources reads 0 under Wine. There the top of the shared USER
  // handle table, and Linux's view of the process, show a leak all the same.
  Figure("USER handle table top before", before.user_table_top);
  Figure("USER handle table top after", after.user_table_top);
  // The program's own windows, and the shell's: a leak the shell has while
  // it re-adds icons is the shell's.
  Figure("program windows before", before.windows);
  Figure("program windows after", after.windows);
  Figure("taskbar process windows before", before.shell_windows);
  Figure("taskbar process windows after", after.shell_windows);
  if (before.handles || after.handles) {
    Figure("kernel handles before", before.handles);
    Figure("kernel handles after", after.handles);
  }
  if (before.private_kib || after.private_kib) {
    Figure("private memory KiB before", static_cast<long long>(before.private_kib));
    Figure("private memory KiB after", static_cast<long long>(after.private_kib));
  }
  if (before.rss_anon_kib >= 0) {
    Figure("resident anonymous memory KiB before", before.rss_anon_kib);
    Figure("resident anonymous memory KiB after", after.rss_anon_kib);
    Figure("threads before", before.threads);
    Figure("threads after", after.threads);
  }
  RegistryRecord record_after;
  ReadKey(HKEY_CURRENT_USER, kKey, record_after);
  Figure("settings record", CompareRecords(record_before, record_after));

  // The end of a session, as Windows ends it.
  DWORD_PTR answer = 0;
  ::SendMessageTimeoutW(soak.main(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
  ::PostMessageW(soak.main(), WM_CLOSE, 0, 0);
  DWORD exit_code = 99;
  const bool ended = program.WaitForExit(15000, &exit_code);
  Figure("program ended at session end", ended ? "exit code " + std::to_string(exit_code) : "no");
  Figure("soak seconds", static_cast<long long>((NowMs() - soak_start) / 1000));
  return alive ? 0 : 1;
}
