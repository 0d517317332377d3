#pragma once
// Does every text of a window show whole? For each visible child with a text
// (labels, buttons, check boxes, radio buttons, group boxes), the room its text
// needs, measured with DrawText and the control's own font as the control
// draws it (word-wrapped where the control wraps), against the room its client
// rectangle gives; a label's text that fits may still be hidden under another
// control; and the window's own caption against its title bar.
#include <windows.h>

#include <string>
#include <vector>

namespace lumitrax::testing {

struct ClippedText {
  HWND window = nullptr;
  // "static", "static under \"<the covering control's text>\"", "button",
  // "check box", "group box", "caption"
  std::wstring kind;
  std::wstring text;
  SIZE needed{};     // the text's extent
  SIZE available{};  // the room for it
};

// Every text of `window` and its children that does not fit its place.
std::vector<ClippedText> FindClippedTexts(HWND window);

// One line per clipped text, for a failure message; empty when all fit.
std::string DescribeClippedTexts(const std::vector<ClippedText>& clipped);

}  // namespace lumitrax::testing
