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

}  // namespace
}  // namespace lumitrax::core
