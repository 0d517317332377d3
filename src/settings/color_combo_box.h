#pragma once
// A drop-down list of colours, each shown as a swatch and a name, with a
// "Custom..." entry that runs the system colour dialog.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/color_list.h"
#include "framework/control.h"

namespace lumitrax {

using TColor = core::Color;

// The colour dialog all colour pickers of the process share, with its palette
// of 16 custom colours; it lives until the process ends.
class TColorDialog {
 public:
  TColor Color = core::clBlack;
  core::ColorPalette CustomColors = core::EmptyPalette();

  // Shows the dialog modally; false when the user cancelled. On confirmation
  // Color holds the choice and CustomColors the palette as the user left it.
  bool Execute(HWND owner);

  // Stands in for the system dialog when set (tests answer it like a user).
  std::function<bool(TColorDialog& dialog)> OnExecute;
};
TColorDialog& SharedColorDialog();

class TColorComboBox : public TControl {
 public:
  explicit TColorComboBox(TWindow& parent);

  TColor SelectedColor() const noexcept { return selected_; }
  // Selects the first item of that colour (none when no item holds it) and
  // fires OnChange, unless the colour is already the selected one.
  void SetSelectedColor(TColor color);
  TColor CustomColor() const noexcept { return options_.custom_color; }
  // The colour of the custom entry; changes neither the selection nor fires.
  void SetCustomColor(TColor color);

  int ItemCount() const noexcept { return static_cast<int>(items_.size()); }
  int ItemIndex() const noexcept { return item_index_; }
  // Shows that item as selected; SelectedColor stays and nothing fires.
  void SetItemIndex(int index);
  TColor ItemColor(int index) const;
  const std::string& ItemCaption(int index) const;

  // Runs the colour dialog for the custom entry; true when the user chose a
  // colour, which is then the custom and the selected colour.
  bool SelectCustomColor();

  core::ColorItemStyle ColorItemStyle() const noexcept { return item_style_; }
  void SetColorItemStyle(core::ColorItemStyle style);
  core::ColorNameStyle ColorNameStyle() const noexcept { return options_.name_style; }
  void SetColorNameStyle(core::ColorNameStyle style);
  void SetColorNames(const std::vector<std::string>& names);
  int ColorSampleWidth() const noexcept { return sample_width_; }
  void SetColorSampleWidth(int width);
  core::ColorsSet ColorsSet() const noexcept { return options_.colors_set; }
  void SetColorsSet(core::ColorsSet set);
  bool CustomColorAutoSelect() const noexcept { return custom_auto_select_; }
  void SetCustomColorAutoSelect(bool auto_select) noexcept { custom_auto_select_ = auto_select; }
  const std::string& CustomColorCaption() const noexcept { return options_.custom_caption; }
  void SetCustomColorCaption(const std::string& caption);
  bool UseColorCustom() const noexcept { return options_.use_custom; }
  void SetUseColorCustom(bool use);
  bool UseColorNone() const noexcept { return options_.use_none; }
  void SetUseColorNone(bool use);
  bool UseColorDefault() const noexcept { return options_.use_default; }
  void SetUseColorDefault(bool use);

  // SelectedColor was set.
  TNotifyEvent OnChange;

  // The selected entry's name as the value; the custom entry with its colour.
  void DescribeForAccessibility(TAccessibleAnswer& answer) override;

  // Whether the user dropped the list down since the last key or selection.
  bool Dropped() const noexcept { return FDropped; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  int WindowHeight(int height96) override;

 public:
  void ScaleChanged() override;

 private:
  void ApplyItemHeight();
  void BuildColorList();
  void FillWindowItems();
  void UserSelected();
  void DrawItem(const DRAWITEMSTRUCT& item);
  void Redraw();
  int ItemHeight();

  core::ColorListOptions options_;
  std::vector<core::ColorItem> items_;
  TColor selected_ = core::clBlack;
  int item_index_ = -1;
  core::ColorItemStyle item_style_ = core::ColorItemStyle::cisColorAndText;
  int sample_width_ = 0;
  bool custom_auto_select_ = true;
  bool FDropped = false;
  bool swallow_enter_char_ = false;
};

}  // namespace lumitrax
