#include "core/check_group.h"

#include <algorithm>

namespace lumitrax::core {

namespace {
constexpr int kCheckMark = 13;
constexpr int kGap = 5;
}  // namespace

CheckBoxSize CaptionCheckBoxSize(int text_width, int text_height) {
  return {text_width + kGap + kCheckMark + 1, std::max(text_height, kCheckMark)};
}

bool CheckGroupChildEnabled(bool group_enabled, bool check_box_visible, bool checked) {
  return group_enabled && (!check_box_visible || checked);
}

}  // namespace lumitrax::core
