// Every test starts as a user who never ran the program. A main window reads
// its settings from the user's registry at start, writes them back whenever it
// is closed to the tray, and writes its Run entry at every start; without this
// a test's window would start where the previous test's window left off.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/version_info.h"

namespace lumitrax {
namespace {

void ForgetTheProgram() {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\MOVRANIK\\Lumitrax");
  std::wstring exe = GetModulePath();
  exe = exe.substr(exe.find_last_of(L"\\:") + 1);
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", exe.c_str());
}

class FreshUserRegistry : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { ForgetTheProgram(); }
  void OnTestEnd(const ::testing::TestInfo&) override { ForgetTheProgram(); }
};

const bool registered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshUserRegistry);
  return true;
}();

}  // namespace
}  // namespace lumitrax
