#pragma once
// The user's registry as the tests see it: the program's keys and small
// readers and writers of single values.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace lumitrax::testing {

inline const wchar_t* const kKey = L"Software\\MOVRANIK\\Lumitrax";
inline const wchar_t* const kTray = L"Software\\MOVRANIK\\Lumitrax\\TrayIcon";
inline const wchar_t* const kOsd = L"Software\\MOVRANIK\\Lumitrax\\OSD";
inline const wchar_t* const kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

inline void PutDword(const wchar_t* key, const wchar_t* name, DWORD value) {
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof(value)), ERROR_SUCCESS);
}

inline void PutString(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

// The value's type, or REG_NONE when it is missing.
inline DWORD TypeOf(const wchar_t* key, const wchar_t* name) {
  DWORD type = REG_NONE;
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, nullptr) !=
      ERROR_SUCCESS)
    return REG_NONE;
  return type;
}

// A text value as stored, or "<missing>".
inline std::wstring GetString(const wchar_t* key, const wchar_t* name) {
  wchar_t text[1024] = {};
  DWORD size = sizeof(text);
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, text,
                     &size) != ERROR_SUCCESS)
    return L"<missing>";
  return text;
}

// Makes every write of the program's settings fail for the scope: the maker's
// key becomes volatile, and the registry refuses a lasting key under a
// volatile one. Reading still works and finds nothing.
class RefusedSettingsKey {
 public:
  RefusedSettingsKey() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kMaker);
    HKEY key = nullptr;
    EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kMaker, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    if (key) ::RegCloseKey(key);
  }
  ~RefusedSettingsKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kMaker); }
  RefusedSettingsKey(const RefusedSettingsKey&) = delete;
  RefusedSettingsKey& operator=(const RefusedSettingsKey&) = delete;

 private:
  static constexpr const wchar_t* kMaker = L"Software\\MOVRANIK";
};

}  // namespace lumitrax::testing
