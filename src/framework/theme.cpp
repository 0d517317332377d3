#include "framework/theme.h"

#include <cstring>
#include <cwchar>

#include "framework/os_functions.h"

#include <uxtheme.h>

namespace lumitrax {
namespace {

core::SystemColors SystemColorTable() {
  core::SystemColors colors{};
  for (size_t index = 0; index < colors.size(); ++index) colors[index] = ::GetSysColor(static_cast<int>(index));
  return colors;
}

bool HighContrastOn() {
  HIGHCONTRASTW contrast{sizeof(contrast), 0, nullptr};
  return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// AppsUseLightTheme under the Personalize key; none when missing or not a DWORD.
std::optional<uint32_t> AppsUseLightTheme() {
  DWORD value = 0, size = sizeof(value);
  if (::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                     L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

}  // namespace

TTheme& Theme() {
  static TTheme theme;
  static const bool read = theme.Refresh();
  (void)read;
  return theme;
}

bool TTheme::Refresh() {
  const core::ThemeKind kind = forced_ ? *forced_ : core::ChooseTheme(HighContrastOn(), AppsUseLightTheme());
  const core::Palette palette = core::PaletteFor(kind, SystemColorTable());
  const bool changed = !read_ || kind != kind_ || std::memcmp(&palette, &palette_, sizeof palette) != 0;
  read_ = true;
  kind_ = kind;
  palette_ = palette;
  if (changed) {
    face_.reset();
    edit_.reset();
  }
  return changed;
}

bool TTheme::IsThemeChange(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_THEMECHANGED || message == WM_SYSCOLORCHANGE) return true;
  if (message != WM_SETTINGCHANGE) return false;
  if (wparam == SPI_SETHIGHCONTRAST) return true;
  const auto* area = reinterpret_cast<const wchar_t*>(lparam);
  return area && std::wcscmp(area, L"ImmersiveColorSet") == 0;
}

HBRUSH TTheme::FaceBrush() {
  if (!read_) Refresh();
  if (!face_) face_.reset(::CreateSolidBrush(palette_.face));
  return face_.get();
}

HBRUSH TTheme::EditBrush() {
  if (!read_) Refresh();
  if (!edit_) edit_.reset(::CreateSolidBrush(palette_.edit));
  return edit_.get();
}

HBRUSH TTheme::ControlColors(UINT message, HDC dc) {
  if (!read_) Refresh();
  // Light and high contrast: the system's own colours are the theme's.
  if (kind_ != core::ThemeKind::Dark) return nullptr;
  const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  ::SetTextColor(dc, field ? palette_.edit_text : palette_.text);
  ::SetBkColor(dc, field ? palette_.edit : palette_.face);
  return field ? EditBrush() : FaceBrush();
}

void TTheme::ApplyControlLook(HWND window, bool classic) const {
  // Empty names turn the visual style off; null ones give it back.
  ::SetWindowTheme(window, classic ? L"" : nullptr, classic ? L"" : nullptr);
}

void TTheme::ApplyTitleBar(HWND window) const { os::UseImmersiveDarkMode(window, kind_ == core::ThemeKind::Dark); }

void TTheme::SetForTesting(std::optional<core::ThemeKind> kind) {
  forced_ = kind;
  Refresh();
}

}  // namespace lumitrax
