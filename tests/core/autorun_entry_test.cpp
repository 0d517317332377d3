#include "core/autorun_entry.h"

#include <gtest/gtest.h>

#include "core/memory_registry.h"

namespace lumitrax::core {
namespace {

TEST(AutorunEntry, NameIsTheFileNameAfterTheLastBackslashOrColon) {
  EXPECT_EQ(RunValueName("C:\\Program Files\\Lumitrax\\Lumitrax.exe"), "Lumitrax.exe");
  EXPECT_EQ(RunValueName("D:Lumi.exe"), "Lumi.exe");
  EXPECT_EQ(RunValueName("\\\\server\\share\\tools\\copy of Lumitrax.exe"), "copy of Lumitrax.exe");
  EXPECT_EQ(RunValueName("Lumitrax.exe"), "Lumitrax.exe");
  EXPECT_EQ(RunValueData("C:\\Program Files\\Lumitrax\\Lumitrax.exe"), "\"C:\\Program Files\\Lumitrax\\Lumitrax.exe\"");
}

TEST(AutorunEntry, CheckedWritesTheQuotedPathUncheckedDeletesOnlyItsOwnEntry) {
  MemoryRegistry registry;
  registry.Set(HkeyCurrentUser, RunKey, "Other.exe", RegistryValue::Text("\"C:\\Other.exe\""));
  ApplyAutorun(registry, true, "C:\\Tools\\Lumitrax.exe");
  EXPECT_EQ(registry.Get(HkeyCurrentUser, RunKey, "Lumitrax.exe"),
            RegistryValue::Text("\"C:\\Tools\\Lumitrax.exe\"", RegistryType::String));

  // A copy under another name manages an entry of its own.
  ApplyAutorun(registry, true, "C:\\Tools\\Lumi2.exe");
  ApplyAutorun(registry, false, "C:\\Tools\\Lumitrax.exe");
  EXPECT_FALSE(registry.Get(HkeyCurrentUser, RunKey, "Lumitrax.exe"));
  EXPECT_TRUE(registry.Get(HkeyCurrentUser, RunKey, "Lumi2.exe"));
  EXPECT_TRUE(registry.Get(HkeyCurrentUser, RunKey, "Other.exe"));

  // Deleting what is not there, or from a missing key, is silent.
  MemoryRegistry empty;
  EXPECT_NO_THROW(ApplyAutorun(empty, false, "C:\\Tools\\Lumitrax.exe"));
  EXPECT_FALSE(empty.KeyExists(HkeyCurrentUser, RunKey));
}

TEST(AutorunEntry, APathWithAPercentSignIsAnExpandableString) {
  MemoryRegistry registry;
  ApplyAutorun(registry, true, "C:\\100%\\Lumitrax.exe");
  EXPECT_EQ(registry.Get(HkeyCurrentUser, RunKey, "Lumitrax.exe")->Type, RegistryType::ExpandString);
}

TEST(AutorunEntry, ARunKeyThatCannotBeOpenedIsReportedWithItsPath) {
  MemoryRegistry registry;
  registry.FailCreating(HkeyCurrentUser, RunKey);
  try {
    ApplyAutorun(registry, true, "C:\\Lumitrax.exe");
    FAIL() << "no error";
  } catch (const RegistryError& error) {
    EXPECT_STREQ(error.what(), "Unable to open the Software\\Microsoft\\Windows\\CurrentVersion\\Run key");
  }
  MemoryRegistry readOnly;
  readOnly.FailWriting(HkeyCurrentUser, RunKey, "Lumitrax.exe");
  try {
    ApplyAutorun(readOnly, true, "C:\\Lumitrax.exe");
    FAIL() << "no error";
  } catch (const RegistryError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'Lumitrax.exe'");
  }
}

RegistryValue Approved(std::initializer_list<unsigned char> bytes, RegistryType type = RegistryType::Binary) {
  return RegistryValue{type, std::string(bytes.begin(), bytes.end())};
}

TEST(StartupApproved, AnOddFirstByteIsTurnedOffAnEvenOneOrNoValueIsOn) {
  const char* exe = "C:\\Tools\\Lumitrax.exe";
  MemoryRegistry registry;
  EXPECT_FALSE(StartupTurnedOffInWindows(registry, exe)) << "no key";
  const std::initializer_list<unsigned char> time{0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0};
  struct Case {
    unsigned char first;
    bool off;
  };
  for (const Case c : {Case{0x02, false}, Case{0x06, false}, Case{0x03, true}, Case{0x07, true}, Case{0x01, true}}) {
    std::string data(1, static_cast<char>(c.first));
    data.append(time.begin(), time.end());
    registry.Set(HkeyCurrentUser, StartupApprovedKey, "Lumitrax.exe", RegistryValue{RegistryType::Binary, data});
    EXPECT_EQ(StartupTurnedOffInWindows(registry, exe), c.off) << int(c.first);
  }
  // Another program's entry, or its own under another file name, is not ours.
  EXPECT_FALSE(StartupTurnedOffInWindows(registry, "C:\\Tools\\Lumi2.exe"));
}

TEST(StartupApproved, ADamagedValueCountsAsOn) {
  MemoryRegistry registry;
  registry.Set(HkeyCurrentUser, StartupApprovedKey, "Lumitrax.exe", Approved({}));
  EXPECT_FALSE(StartupTurnedOffInWindows(registry, "Lumitrax.exe")) << "empty";
  registry.Set(HkeyCurrentUser, StartupApprovedKey, "Lumitrax.exe", Approved({0x03, 0x00}, RegistryType::Dword));
  EXPECT_FALSE(StartupTurnedOffInWindows(registry, "Lumitrax.exe")) << "not binary";
  registry.FailReading(HkeyCurrentUser, StartupApprovedKey, "Lumitrax.exe");
  EXPECT_FALSE(StartupTurnedOffInWindows(registry, "Lumitrax.exe")) << "unreadable";
}

TEST(StartupApproved, MarkingEnabledRewritesOnlyATurnedOffValue) {
  MemoryRegistry registry;
  MarkStartupEnabledInWindows(registry, "C:\\Lumitrax.exe");
  EXPECT_FALSE(registry.KeyExists(HkeyCurrentUser, StartupApprovedKey)) << "no value is already enabled";

  registry.Set(HkeyCurrentUser, StartupApprovedKey, "Lumitrax.exe",
               Approved({0x03, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0}));
  registry.Set(HkeyCurrentUser, StartupApprovedKey, "Other.exe", Approved({0x03, 9, 9, 9, 9, 9, 9, 9, 9, 0, 0, 0}));
  MarkStartupEnabledInWindows(registry, "C:\\Lumitrax.exe");
  EXPECT_EQ(registry.Get(HkeyCurrentUser, StartupApprovedKey, "Lumitrax.exe"),
            Approved({0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(StartupTurnedOffInWindows(registry, "C:\\Lumitrax.exe"));
  EXPECT_TRUE(StartupTurnedOffInWindows(registry, "C:\\Other.exe")) << "another program's choice was changed";

  const RegistryValue on = Approved({0x06, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0});
  registry.Set(HkeyCurrentUser, StartupApprovedKey, "Lumitrax.exe", on);
  MarkStartupEnabledInWindows(registry, "C:\\Lumitrax.exe");
  EXPECT_EQ(registry.Get(HkeyCurrentUser, StartupApprovedKey, "Lumitrax.exe"), on) << "an enabled mark is left alone";
}

TEST(StartupApproved, AFailedWriteIsReportedWithTheValueName) {
  MemoryRegistry registry;
  registry.Set(HkeyCurrentUser, StartupApprovedKey, "Lumitrax.exe", Approved({0x03}));
  registry.FailWriting(HkeyCurrentUser, StartupApprovedKey, "Lumitrax.exe");
  try {
    MarkStartupEnabledInWindows(registry, "C:\\Lumitrax.exe");
    FAIL() << "no error";
  } catch (const RegistryError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'Lumitrax.exe'");
  }
}

}  // namespace
}  // namespace lumitrax::core
