// Every test starts as a user who never ran the program: no settings and no
// Run entry, and no administrator's policy for it. The program writes both, and one test's closing would otherwise
// decide how the next test's program starts.
#include <gtest/gtest.h>
#include <windows.h>

namespace lumitrax::e2e {
namespace {

void ForgetTheProgram() {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\MOVRANIK\\Lumitrax");
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Lumitrax.exe");
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER,
                       L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run",
                       L"Lumitrax.exe");
  // An administrator's policies and presets a test set.
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
    ::RegDeleteTreeW(root, L"Software\\Policies\\MOVRANIK\\Lumitrax");
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
}  // namespace lumitrax::e2e
