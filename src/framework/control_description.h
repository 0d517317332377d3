#pragma once
// One row of a form description: where a control sits (96-dpi pixels,
// relative to its parent), what it says and which tag and hint it carries.
// A form creates its controls from such a table and lays them out again from
// it at every scale.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/control.h"

namespace lumitrax {

struct TControlDescription {
  TControl& control;
  const wchar_t* name;
  int left, top, width, height;
  std::wstring caption;  // in the language in use
  intptr_t tag;
  std::wstring hint;     // empty: none
};

// Gives each control its row: name, designed bounds, caption, tag and hint.
inline void TakeDescription(const std::vector<TControlDescription>& rows) {
  for (const TControlDescription& row : rows) {
    row.control.Name = row.name;
    row.control.SetBounds(row.left, row.top, row.width, row.height);
    row.control.SetCaption(row.caption);
    row.control.Tag = row.tag;
    if (!row.hint.empty()) row.control.Hint = row.hint;
  }
}

}  // namespace lumitrax
