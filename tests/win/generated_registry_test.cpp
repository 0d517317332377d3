// Generated values in the real registry, read through the program's registry
// store: any type, any size, strings with odd byte counts, without or with
// several nulls. The typed reads must give the value or their own error, as
// they do over the in-memory registry, and never read past the data.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "framework/win_registry.h"
#include "core/registry_store.h"
#include "core/settings_recovery.h"
#include "core/settings_schema.h"
#include "framework/text.h"

namespace lumitrax {
namespace {

constexpr wchar_t kGenerated[] = L"Software\\MOVRANIK\\Lumitrax\\Generated";  // removed after every test
constexpr int kInputs = 300;

struct RawValue {
  DWORD type;
  std::vector<BYTE> bytes;
};

RawValue AnyRawValue(std::mt19937& engine) {
  static constexpr DWORD Types[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD,
                                    REG_DWORD_BIG_ENDIAN, REG_MULTI_SZ, REG_QWORD, 0x4000};
  const auto below = [&](uint32_t bound) { return std::uniform_int_distribution<uint32_t>(0, bound - 1)(engine); };
  RawValue value{Types[below(std::size(Types))], {}};
  uint32_t size = below(4) == 0 ? below(600) : below(12);
  if (value.type == REG_DWORD && below(2) == 0) size = 4;  // mostly proper numbers
  for (uint32_t i = 0; i < size; ++i) {
    // Strings: mostly letters, digits and nulls, so that texts end early or late.
    const uint32_t pick = below(10);
    value.bytes.push_back(pick < 3 ? 0 : pick < 7 ? static_cast<BYTE>('0' + below(43)) : static_cast<BYTE>(below(256)));
  }
  return value;
}

// What the store must make of the bytes: a text up to its first null, whole
// UTF-16 units only; every other type as it is.
core::RegistryValue Expected(const RawValue& raw) {
  core::RegistryValue value;
  value.Type = static_cast<core::RegistryType>(raw.type);
  if (raw.type == REG_SZ || raw.type == REG_EXPAND_SZ) {
    std::wstring text;
    for (size_t i = 0; i + 1 < raw.bytes.size(); i += 2) {
      const wchar_t unit = static_cast<wchar_t>(raw.bytes[i] | (raw.bytes[i + 1] << 8));
      if (unit == 0) break;
      text += unit;
    }
    value.Data = Narrow(text);
  } else {
    value.Data.assign(raw.bytes.begin(), raw.bytes.end());
  }
  return value;
}

std::string Describe(const RawValue& raw) {
  return "type " + std::to_string(raw.type) + ", " + std::to_string(raw.bytes.size()) + " bytes";
}

TEST(GeneratedRegistry, AnyStoredValueReadsAsItsTypeSaysOrGivesItsOwnError) {
  std::mt19937 engine(20261208);
  TWinRegistry registry;
  const auto key = registry.CreateKey(core::HkeyCurrentUser, Narrow(std::wstring(L"\\") + kGenerated));
  ASSERT_NE(key, nullptr);
  int numbers = 0, texts = 0, refused = 0;  // the generator must reach every outcome
  for (int i = 0; i < kInputs && !HasFailure(); ++i) {
    const RawValue raw = AnyRawValue(engine);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kGenerated, L"V", raw.type,
                                raw.bytes.empty() ? nullptr : raw.bytes.data(), static_cast<DWORD>(raw.bytes.size())),
              ERROR_SUCCESS);
    const core::RegistryValue expected = Expected(raw);
    const auto value = key->ReadValue("V");
    ASSERT_TRUE(value.has_value()) << Describe(raw);
    EXPECT_EQ(value->Type, expected.Type) << Describe(raw);
    // The data of the types the program reads; the system may pad the others
    // (multi-strings gain their terminating nulls).
    if (raw.type == REG_SZ || raw.type == REG_EXPAND_SZ || raw.type == REG_BINARY || raw.type == REG_DWORD) {
      EXPECT_EQ(value->Data, expected.Data) << Describe(raw);
    }

    const bool number = raw.type == REG_DWORD && raw.bytes.size() <= 4;
    try {
      const uint32_t read = core::ReadDword(*key, "V");
      EXPECT_TRUE(number) << Describe(raw);
      ++numbers;
      uint32_t wanted = 0;
      for (size_t b = 0; b < raw.bytes.size(); ++b) wanted |= uint32_t{raw.bytes[b]} << (8 * b);
      EXPECT_EQ(read, wanted) << Describe(raw);
    } catch (const core::RegistryError& error) {
      EXPECT_FALSE(number) << Describe(raw);
      ++refused;
      EXPECT_EQ(std::string(error.what()),
                raw.type == REG_DWORD ? "Failed to get data for 'V'" : "Invalid data type for 'V'")
          << Describe(raw);
    }
    const bool text = raw.type == REG_SZ || raw.type == REG_EXPAND_SZ;
    const bool bytes_as_text = text || raw.type == REG_BINARY;
    if (text && !expected.Data.empty()) ++texts;
    EXPECT_EQ(core::ReadRegistryString(registry, core::HkeyCurrentUser, Narrow(std::wstring(L"\\") + kGenerated), "V",
                                       "fallback"),
              bytes_as_text ? expected.Data : "fallback")
        << Describe(raw);
  }
  EXPECT_GT(numbers, 0);
  EXPECT_GT(texts, 0);
  EXPECT_GT(refused, 0);
  std::printf("%d numbers, %d texts, %d refused\n", numbers, texts, refused);
}

TEST(GeneratedRegistry, AnyStoredRecordLoadsPastItsDamage) {
  // Every value of the record at random, read as the settings window reads it at
  // start: no value may stop the others, and every good one is taken.
  std::mt19937 engine(8122026);
  TWinRegistry registry;
  const std::string key = "\\Software\\MOVRANIK\\Lumitrax";
  for (int round = 0; round < kInputs / 20 && !HasFailure(); ++round) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\MOVRANIK\\Lumitrax");
    size_t damaged = 0;
    for (const core::SettingEntry& entry : core::SettingsRecord()) {
      const std::wstring path = entry.Subkey.empty() ? std::wstring(L"Software\\MOVRANIK\\Lumitrax")
                                                     : L"Software\\MOVRANIK\\Lumitrax\\" + Widen(entry.Subkey);
      const RawValue raw = AnyRawValue(engine);
      ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), Widen(entry.Name).c_str(), raw.type,
                                  raw.bytes.empty() ? nullptr : raw.bytes.data(), static_cast<DWORD>(raw.bytes.size())),
                ERROR_SUCCESS);
      const bool good = entry.Type() == core::SettingType::String
                            ? raw.type == REG_SZ || raw.type == REG_EXPAND_SZ
                            : raw.type == REG_DWORD && raw.bytes.size() <= 4;
      if (!good) ++damaged;
    }
    core::Settings settings = core::DefaultSettings();
    const auto error = core::LoadSettingsPastDamage(registry, core::HkeyCurrentUser, key, settings);
    EXPECT_EQ(error.has_value(), damaged > 0) << "round " << round;
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\MOVRANIK\\Lumitrax");
}

}  // namespace
}  // namespace lumitrax
