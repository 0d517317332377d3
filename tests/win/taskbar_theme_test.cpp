// The taskbar's theme as the program reads it from the user's registry.
#include <gtest/gtest.h>

#include "framework/win_registry.h"
#include "core/taskbar_theme.h"
#include "user_registry.h"

namespace lumitrax {
namespace {

const wchar_t* const kPersonalize = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

TEST(TaskbarThemeInRegistry, LightDarkAndMissingGiveTheirGridColours) {
  TWinRegistry registry;
  testing::PutDword(kPersonalize, L"SystemUsesLightTheme", 1);
  EXPECT_EQ(core::ReadSystemUsesLightTheme(registry), 1u);
  EXPECT_EQ(core::DefaultGridColor(core::ReadSystemUsesLightTheme(registry)), core::LightTaskbarGridColor);
  testing::PutDword(kPersonalize, L"SystemUsesLightTheme", 0);
  EXPECT_EQ(core::ReadSystemUsesLightTheme(registry), 0u);
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"SystemUsesLightTheme");
  EXPECT_EQ(core::ReadSystemUsesLightTheme(registry), std::nullopt);
  EXPECT_EQ(core::DefaultGridColor(core::ReadSystemUsesLightTheme(registry)), 0xD0D0D0u);
}

}  // namespace
}  // namespace lumitrax
