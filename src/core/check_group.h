#pragma once
// The check group box's rules: the size of its caption check box and which of
// its children are enabled.
namespace lumitrax::core {

struct CheckBoxSize {
  int width = 0;
  int height = 0;
  bool operator==(const CheckBoxSize&) const = default;
};

// The caption's text width plus the gap, the check mark (13) and one pixel;
// at least as high as the check mark. All in 96-dpi pixels.
CheckBoxSize CaptionCheckBoxSize(int text_width, int text_height);

// A child of the group (other than the caption check box) is enabled while the
// group is, and the check box is hidden or checked.
bool CheckGroupChildEnabled(bool group_enabled, bool check_box_visible, bool checked);

}  // namespace lumitrax::core
