#include "framework/theme.h"

#include <cstring>
#include <cwchar>

#include "framework/os_functions.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <string>

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

// The dark and high-contrast themes' push button: a visual style draws push
// buttons in its own light colours, so the button draws itself through its
// custom-draw notification: face, frame, glyph, caption, focus rectangle.
void TTheme::PaintPushButton(HWND button, const NMCUSTOMDRAW& draw) {
  const core::Palette& colors = palette_;
  const HDC dc = draw.hdc;
  RECT rect = draw.rc;
  const bool pressed = draw.uItemState & CDIS_SELECTED;
  const bool hot = draw.uItemState & CDIS_HOT;
  const bool disabled = draw.uItemState & CDIS_DISABLED;
  const LONG_PTR style = ::GetWindowLongPtrW(button, GWL_STYLE);
  const bool is_default = (style & 0xF) == BS_DEFPUSHBUTTON;
  const bool dark = Dark();
  const COLORREF face_color = !dark ? (pressed ? colors.highlight : colors.button)
                              : pressed ? RGB(0x2A, 0x2A, 0x2A)
                              : hot     ? RGB(0x45, 0x45, 0x45)
                                        : colors.button;
  const UniqueBrush face(::CreateSolidBrush(face_color));
  ::FillRect(dc, &rect, face.get());
  // The frame is a part of the control, not a text: 3:1 against the window.
  const UniqueBrush frame(::CreateSolidBrush(is_default && dark ? colors.link : FrameColor()));
  ::FrameRect(dc, &rect, frame.get());
  if (is_default) {
    RECT inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    ::FrameRect(dc, &inner, frame.get());
  }
  RECT text_rect = rect;
  BUTTON_IMAGELIST images{};
  if (::SendMessageW(button, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images)) && images.himl) {
    int width = 0, height = 0;
    ::ImageList_GetIconSize(images.himl, &width, &height);
    const int left = rect.left + images.margin.left;
    ::ImageList_Draw(images.himl, 0, dc, left, rect.top + (rect.bottom - rect.top - height) / 2, ILD_TRANSPARENT);
    text_rect.left = left + width;
  }
  const LRESULT ui = ::SendMessageW(button, WM_QUERYUISTATE, 0, 0);
  std::wstring caption(static_cast<size_t>(::GetWindowTextLengthW(button)) + 1, L'\0');
  caption.resize(static_cast<size_t>(::GetWindowTextW(button, caption.data(), static_cast<int>(caption.size()))));
  const auto font_handle = reinterpret_cast<HFONT>(::SendMessageW(button, WM_GETFONT, 0, 0));
  SelectObjectScope font(dc, font_handle ? font_handle : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, disabled ? colors.disabled_text : (pressed && !dark) ? colors.highlight_text : colors.button_text);
  ::DrawTextW(dc, caption.data(), static_cast<int>(caption.size()), &text_rect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | ((ui & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0));
  if ((draw.uItemState & CDIS_FOCUS) && !(ui & UISF_HIDEFOCUS)) {
    RECT focus{rect.left + 3, rect.top + 3, rect.right - 3, rect.bottom - 3};
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &focus);
  }
}

LRESULT TTheme::CustomDrawPushButton(HWND button, const NMCUSTOMDRAW& draw) {
  const LONG_PTR type = ::GetWindowLongPtrW(button, GWL_STYLE) & 0xF;
  if (!DrawsOwnFrames() || draw.dwDrawStage != CDDS_PREPAINT || (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON))
    return CDRF_DODEFAULT;
  PaintPushButton(button, draw);
  return CDRF_SKIPDEFAULT;
}

void TTheme::SetForTesting(std::optional<core::ThemeKind> kind) {
  forced_ = kind;
  Refresh();
}

}  // namespace lumitrax
