#include "settings/color_combo_box.h"

#include <commdlg.h>
#include <oleacc.h>

#include <algorithm>
#include <stdexcept>

#include "framework/handles.h"
#include "framework/theme.h"
#include "framework/text.h"

namespace lumitrax {
namespace {

constexpr int kItemHeight = 17;
constexpr int kVisibleItems = 8;

core::SystemColors SystemColorTable() {
  core::SystemColors colors{};
  for (size_t index = 0; index < colors.size(); ++index) colors[index] = ::GetSysColor(static_cast<int>(index));
  return colors;
}

// The colour GDI draws for a colour value.
COLORREF ColorToRgb(TColor color) {
  if (core::IsSystemColor(color)) return ::GetSysColor(static_cast<int>(color & 0xFF));
  if (color == core::clDefault) return ::GetSysColor(COLOR_WINDOW);
  return color & 0xFFFFFF;
}

RECT ToRect(const core::Box& box) { return RECT{box.left, box.top, box.right, box.bottom}; }

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  ::SetDCBrushColor(dc, color);
  ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

}  // namespace

bool TColorDialog::Execute(HWND owner) {
  if (OnExecute) return OnExecute(*this);
  const core::ColorPalette shown = core::PaletteForDialog(CustomColors);
  COLORREF custom[core::kPaletteSize];
  std::copy(shown.begin(), shown.end(), custom);
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.rgbResult = ColorToRgb(Color);
  choose.lpCustColors = custom;
  choose.Flags = CC_RGBINIT;
  if (!::ChooseColorW(&choose)) return false;
  core::ColorPalette returned{};
  std::copy(std::begin(custom), std::end(custom), returned.begin());
  CustomColors = core::PaletteFromDialog(CustomColors, returned);
  Color = choose.rgbResult;
  return true;
}

TColorDialog& SharedColorDialog() {
  static TColorDialog dialog;
  return dialog;
}

TColorComboBox::TColorComboBox(TWindow& parent) : TControl(parent) { BuildColorList(); }

void TColorComboBox::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.class_name = L"TColorComboBox";
  ClassicLookInDark = true;
  AccessibleRole = ROLE_SYSTEM_COMBOBOX;
  params.base_class = L"COMBOBOX";
  params.style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
}

int TColorComboBox::WindowHeight(int height96) {
  // A combo box's window height is the selection field plus its list.
  return Scale(height96) + kVisibleItems * ItemHeight() + 2;
}

void TColorComboBox::ApplyItemHeight() {
  ::SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), ItemHeight());
  ::SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, ItemHeight());
}

void TColorComboBox::ScaleChanged() {
  TControl::ScaleChanged();
  if (HandleAllocated()) ApplyItemHeight();
}

void TColorComboBox::CreateWnd() {
  TControl::CreateWnd();
  ApplyItemHeight();
  ::SendMessageW(Handle(), CB_SETMINVISIBLE, kVisibleItems, 0);
  FillWindowItems();
}

int TColorComboBox::ItemHeight() { return Scale(kItemHeight); }

void TColorComboBox::BuildColorList() {
  items_ = core::BuildColorList(options_, SystemColorTable());
  item_index_ = -1;
  FillWindowItems();
  // The stored colour again, so the new list shows it.
  SetSelectedColor(selected_);
}

void TColorComboBox::FillWindowItems() {
  if (!HandleAllocated()) return;
  const HWND window = Handle();
  ::SendMessageW(window, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(window, CB_RESETCONTENT, 0, 0);
  for (const core::ColorItem& item : items_)
    ::SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item.caption).c_str()));
  ::SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(item_index_), 0);
  ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
  Redraw();
}

void TColorComboBox::SetSelectedColor(TColor color) {
  const std::optional<int> index = core::SelectColor(items_, selected_, item_index_, color);
  if (!index) return;
  selected_ = color;
  if (*index != item_index_) SetItemIndex(*index);
  if (OnChange) OnChange(*this);
}

void TColorComboBox::SetCustomColor(TColor color) {
  if (color == options_.custom_color) return;
  options_.custom_color = color;
  if (options_.use_custom && !items_.empty()) items_[0].color = color;
  Redraw();
}

void TColorComboBox::SetItemIndex(int index) {
  item_index_ = std::clamp(index, -1, ItemCount() - 1);
  if (HandleAllocated()) ::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(item_index_), 0);
  AccessibleChanged(EVENT_OBJECT_VALUECHANGE);
}

TColor TColorComboBox::ItemColor(int index) const {
  if (index < 0 || index >= ItemCount()) throw std::out_of_range("List index out of bounds");
  return items_[static_cast<size_t>(index)].color;
}

const std::string& TColorComboBox::ItemCaption(int index) const {
  if (index < 0 || index >= ItemCount()) throw std::out_of_range("List index out of bounds");
  return items_[static_cast<size_t>(index)].caption;
}

void TColorComboBox::SetColorItemStyle(core::ColorItemStyle style) {
  item_style_ = style;
  Redraw();
}

void TColorComboBox::SetColorNameStyle(core::ColorNameStyle style) {
  options_.name_style = style;
  BuildColorList();
}

void TColorComboBox::SetColorNames(const std::vector<std::string>& names) {
  options_.names = names;
  if (options_.name_style == core::ColorNameStyle::cnsFromList) BuildColorList();
}

void TColorComboBox::SetColorSampleWidth(int width) {
  sample_width_ = std::clamp(width, 0, 2048);
  Redraw();
}

void TColorComboBox::SetColorsSet(core::ColorsSet set) {
  options_.colors_set = set;
  BuildColorList();
}

void TColorComboBox::SetCustomColorCaption(const std::string& caption) {
  options_.custom_caption = caption;
  BuildColorList();
}

void TColorComboBox::SetUseColorCustom(bool use) {
  options_.use_custom = use;
  BuildColorList();
}

void TColorComboBox::SetUseColorNone(bool use) {
  options_.use_none = use;
  BuildColorList();
}

void TColorComboBox::SetUseColorDefault(bool use) {
  options_.use_default = use;
  BuildColorList();
}

bool TColorComboBox::SelectCustomColor() {
  TColorDialog& dialog = SharedColorDialog();
  dialog.Color = items_.empty() ? options_.custom_color : items_[0].color;
  core::TidyPalette(dialog.CustomColors);
  core::PutInPalette(dialog.CustomColors, ColorToRgb(dialog.Color));
  // The open list closes before the dialog takes the focus.
  if (HandleAllocated()) ::SendMessageW(Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  if (!dialog.Execute(HandleAllocated() ? Handle() : nullptr)) return false;
  core::PutInPalette(dialog.CustomColors, dialog.Color);
  SetCustomColor(dialog.Color);
  SetSelectedColor(CustomColor());
  Redraw();
  return true;
}

void TColorComboBox::UserSelected() {
  const int index = static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
  item_index_ = index;
  switch (core::PickColorItem(index, options_.use_custom, FDropped, custom_auto_select_)) {
    case core::ColorPick::RunCustomDialog:
      SelectCustomColor();
      break;
    case core::ColorPick::TakeItemColor:
      SetSelectedColor(items_[static_cast<size_t>(index)].color);
      break;
    case core::ColorPick::Nothing:
      break;
  }
  Click();
  FDropped = false;
}

void TColorComboBox::DescribeForAccessibility(TAccessibleAnswer& answer) {
  if (item_index_ >= 0 && item_index_ < ItemCount())
    answer.value = Widen(core::SpokenColorValue(items_[static_cast<size_t>(item_index_)],
                                                options_.use_custom && item_index_ == 0));
  answer.name = LabelBefore();
  TControl::DescribeForAccessibility(answer);
}

void TColorComboBox::Redraw() {
  if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TColorComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  const RECT& rect = item.rcItem;
  const bool selected = item.itemState & ODS_SELECTED;
  const core::Palette& colors = Theme().Colors();
  const COLORREF background = selected ? colors.highlight : colors.edit;
  FillSolid(dc, rect, background);

  if (item.itemID < items_.size()) {
    const core::ColorItem& entry = items_[item.itemID];
    const COLORREF rgb = ColorToRgb(entry.color);
    const core::ColorItemLayout layout =
        core::LayoutColorItem({rect.left, rect.top, rect.right, rect.bottom}, item_style_, Scale(sample_width_));
    if (layout.frame && layout.fill) {
      const COLORREF frame = core::SwatchFrameColor(rgb, background, selected);
      const RECT frame_rect = ToRect(*layout.frame);
      ::SetDCBrushColor(dc, frame);
      ::FrameRect(dc, &frame_rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
      const RECT fill = ToRect(*layout.fill);
      if (entry.color == core::clNone) {
        ::SetDCPenColor(dc, frame);
        SelectObjectScope pen(dc, ::GetStockObject(DC_PEN));
        ::MoveToEx(dc, fill.left, fill.top, nullptr);
        ::LineTo(dc, fill.right, fill.bottom);
        ::MoveToEx(dc, fill.left, fill.bottom - 1, nullptr);
        ::LineTo(dc, fill.right, fill.top - 1);
      } else {
        FillSolid(dc, fill, rgb);
      }
    }
    if (layout.text_left) {
      COLORREF text_color = selected ? colors.highlight_text : colors.edit_text;
      if (item_style_ == core::ColorItemStyle::cisText) text_color = rgb;
      if (item.itemState & ODS_DISABLED) text_color = colors.disabled_text;
      SelectObjectScope font(dc, Font() ? Font() : ::GetStockObject(DEFAULT_GUI_FONT));
      ::SetTextColor(dc, text_color);
      ::SetBkMode(dc, TRANSPARENT);
      RECT text_rect{*layout.text_left, rect.top, rect.right, rect.bottom};
      std::wstring caption = Widen(entry.caption);
      ::DrawTextW(dc, caption.data(), static_cast<int>(caption.size()), &text_rect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
  }
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) ::DrawFocusRect(dc, &rect);
}

LRESULT TColorComboBox::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case CN_BASE + WM_COMMAND:
      if (HIWORD(wparam) == CBN_DROPDOWN) FDropped = true;
      if (HIWORD(wparam) == CBN_SELCHANGE) UserSelected();
      return 0;
    case CN_BASE + WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case CN_BASE + WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->itemHeight = static_cast<UINT>(ItemHeight());
      return TRUE;
    case WM_GETDLGCODE: {
      // Enter on the custom entry is ours, not the dialog manager's.
      LRESULT code = TControl::WndProc(message, wparam, lparam);
      const auto* msg = reinterpret_cast<const MSG*>(lparam);
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
          core::EnterRunsCustomDialog(item_index_, options_.use_custom))
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN: {
      FDropped = false;
      const LRESULT result = TControl::WndProc(message, wparam, lparam);
      if (wparam == VK_RETURN && core::EnterRunsCustomDialog(item_index_, options_.use_custom)) {
        swallow_enter_char_ = true;
        if (SelectCustomColor()) UserSelected();
        return 0;
      }
      return result;
    }
    case WM_CHAR:
      if (wparam == VK_RETURN && swallow_enter_char_) {
        swallow_enter_char_ = false;
        return 0;
      }
      break;
    default:
      break;
  }
  return TControl::WndProc(message, wparam, lparam);
}

}  // namespace lumitrax
