#pragma once
// One row of a form description: where a control sits (96-dpi pixels,
// relative to its parent), what it says and which tag and hint it carries.
// A form creates its controls from such a table and lays them out again from
// it at every scale.
#include <cstdint>
#include <string>

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

}  // namespace lumitrax
