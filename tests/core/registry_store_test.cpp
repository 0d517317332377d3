#include "core/registry_store.h"

#include <gtest/gtest.h>

#include "core/memory_registry.h"

namespace lumitrax::core {
namespace {

constexpr RegistryRoot Root = HkeyCurrentUser;
constexpr std::string_view Key = "\\Software\\Test";

template <typename F>
std::string ErrorText(F&& action) {
  try {
    action();
  } catch (const RegistryError& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(MemoryRegistry, PathsAndNamesIgnoreCaseAndReadOnlyKeysRefuseWrites) {
  MemoryRegistry registry;
  registry.Set(Root, "Software\\Test\\", "Name", RegistryValue::Dword(5));
  auto key = registry.OpenKey(Root, "\\SOFTWARE\\test", KeyAccess::Read);
  ASSERT_TRUE(key);
  EXPECT_TRUE(key->ValueExists("NAME"));
  EXPECT_FALSE(key->WriteValue("name", RegistryValue::Dword(6)));
  EXPECT_FALSE(key->DeleteValue("name"));
  EXPECT_EQ(registry.Get(Root, Key, "name"), RegistryValue::Dword(5));
  EXPECT_TRUE(registry.KeyExists(Root, "\\Software"));
  EXPECT_FALSE(registry.OpenKey(Root, "\\Software\\Other", KeyAccess::Read));
  EXPECT_FALSE(registry.OpenKey(0x80000002, Key, KeyAccess::Read));
}

TEST(OpenKeyReadOnly, FallsBackToSmallerReadRights) {
  MemoryRegistry registry;
  registry.AddKey(Root, Key);
  registry.DenyAccess(Root, Key, KeyAccess::Read);
  EXPECT_TRUE(OpenKeyReadOnly(registry, Root, Key));
  registry.DenyAccess(Root, Key, KeyAccess::QueryAndEnumerate);
  EXPECT_TRUE(OpenKeyReadOnly(registry, Root, Key));
  registry.DenyAccess(Root, Key, KeyAccess::Query);
  EXPECT_FALSE(OpenKeyReadOnly(registry, Root, Key));
  EXPECT_FALSE(OpenKeyReadOnly(registry, Root, "\\Software\\Missing"));
}

TEST(TypedReads, NumbersMustBeDwordsOfAtMostFourBytes) {
  MemoryRegistry registry;
  registry.Set(Root, Key, "Minus", RegistryValue::Dword(0xFFFFFFFF));
  registry.Set(Root, Key, "Text", RegistryValue::Text("1"));
  registry.Set(Root, Key, "Bytes", {RegistryType::Binary, std::string("\x01\0\0\0", 4)});
  registry.Set(Root, Key, "Long", {RegistryType::Dword, std::string(8, '\0')});
  registry.Set(Root, Key, "Short", {RegistryType::Dword, std::string("\x34\x12", 2)});
  registry.Set(Root, Key, "Broken", RegistryValue::Dword(1));
  registry.FailReading(Root, Key, "Broken");
  const auto key = OpenKeyReadOnly(registry, Root, Key);
  ASSERT_TRUE(key);
  EXPECT_EQ(ReadDword(*key, "Minus"), 0xFFFFFFFFu);
  EXPECT_EQ(ReadDword(*key, "Short"), 0x1234u);
  EXPECT_EQ(ErrorText([&] { ReadDword(*key, "Text"); }), "Invalid data type for 'Text'");
  EXPECT_EQ(ErrorText([&] { ReadDword(*key, "Bytes"); }), "Invalid data type for 'Bytes'");
  EXPECT_EQ(ErrorText([&] { ReadDword(*key, "Long"); }), "Failed to get data for 'Long'");
  EXPECT_EQ(ErrorText([&] { ReadDword(*key, "Broken"); }), "Failed to get data for 'Broken'");
}

TEST(TypedReads, TextsMayBeExpandableAndStayUnexpanded) {
  MemoryRegistry registry;
  registry.Set(Root, Key, "Plain", RegistryValue::Text("1,2,3,4"));
  registry.Set(Root, Key, "Expand", RegistryValue::Text("%TEMP%\\x", RegistryType::ExpandString));
  registry.Set(Root, Key, "Number", RegistryValue::Dword(3));
  const auto key = OpenKeyReadOnly(registry, Root, Key);
  ASSERT_TRUE(key);
  EXPECT_EQ(ReadString(*key, "Plain"), "1,2,3,4");
  EXPECT_EQ(ReadString(*key, "Expand"), "%TEMP%\\x");
  EXPECT_EQ(ErrorText([&] { ReadString(*key, "Number"); }), "Invalid data type for 'Number'");
}

TEST(WriteRegistryString, CreatesTheKeyAndExpandsOnlyTextsWithPercent) {
  MemoryRegistry registry;
  WriteRegistryString(registry, Root, Key, "Plain", "C:\\Program Files\\x.exe");
  WriteRegistryString(registry, Root, Key, "Expand", "%ProgramFiles%\\x.exe");
  EXPECT_EQ(registry.Get(Root, Key, "Plain"), RegistryValue::Text("C:\\Program Files\\x.exe"));
  EXPECT_EQ(registry.Get(Root, Key, "Expand"),
            RegistryValue::Text("%ProgramFiles%\\x.exe", RegistryType::ExpandString));
  EXPECT_EQ(StringValueType("100%"), RegistryType::ExpandString);
  EXPECT_EQ(StringValueType(""), RegistryType::String);
}

TEST(WriteRegistryString, ReportsTheKeyOrTheValueThatFailed) {
  MemoryRegistry registry;
  registry.FailCreating(Root, Key);
  EXPECT_EQ(ErrorText([&] { WriteRegistryString(registry, Root, Key, "A", "b"); }),
            "Unable to open the \\Software\\Test key");
  EXPECT_FALSE(registry.KeyExists(Root, Key));

  MemoryRegistry other;
  other.FailWriting(Root, Key, "A");
  EXPECT_EQ(ErrorText([&] { WriteRegistryString(other, Root, Key, "A", "b"); }), "Failed to set data for 'A'");
}

TEST(DeleteRegistryValue, TellsWhetherAValueWasDeletedAndNeverRaises) {
  MemoryRegistry registry;
  registry.Set(Root, Key, "A", RegistryValue::Text("x"));
  EXPECT_TRUE(DeleteRegistryValue(registry, Root, Key, "a"));
  EXPECT_FALSE(registry.Get(Root, Key, "A"));
  EXPECT_FALSE(DeleteRegistryValue(registry, Root, Key, "A"));
  EXPECT_FALSE(DeleteRegistryValue(registry, Root, "\\Software\\Missing", "A"));
  EXPECT_FALSE(registry.KeyExists(Root, "\\Software\\Missing"));
  registry.Set(Root, Key, "B", RegistryValue::Text("x"));
  registry.DenyAccess(Root, Key, KeyAccess::ReadWrite);
  EXPECT_FALSE(DeleteRegistryValue(registry, Root, Key, "B"));
}

TEST(ReadRegistryString, TextsAndBinaryBytesElseTheFallback) {
  MemoryRegistry registry;
  registry.Set(Root, Key, "Plain", RegistryValue::Text("10,20,0,0"));
  registry.Set(Root, Key, "Expand", RegistryValue::Text("%X%", RegistryType::ExpandString));
  registry.Set(Root, Key, "Bytes", {RegistryType::Binary, "5,6,7,8"});
  registry.Set(Root, Key, "Number", RegistryValue::Dword(1));
  registry.Set(Root, Key, "Broken", RegistryValue::Text("x"));
  registry.FailReading(Root, Key, "Broken");
  const auto read = [&](std::string_view name) { return ReadRegistryString(registry, Root, Key, name, "def"); };
  EXPECT_EQ(read("Plain"), "10,20,0,0");
  EXPECT_EQ(read("Expand"), "%X%");
  EXPECT_EQ(read("Bytes"), "5,6,7,8");
  EXPECT_EQ(read("Number"), "def");
  EXPECT_EQ(read("Broken"), "def");
  EXPECT_EQ(read("Missing"), "def");
  EXPECT_EQ(ReadRegistryString(registry, Root, "\\Nowhere", "Plain", "def"), "def");
}

}  // namespace
}  // namespace lumitrax::core
