#pragma once
// What a screen reader hears of a control. Standard controls are read by the
// system's own Active Accessibility objects; a control that draws itself, or
// whose label cannot stand directly before it, lays its own name, value, role
// and states over the standard object by answering WM_GETOBJECT. The object
// asks the control afresh at every call, so it never goes stale, and answers
// "not available" once the window is gone.
#include <windows.h>

#include <functional>
#include <string>

namespace lumitrax {

// IID_IAccessible. MinGW's import library of oleacc hands out a thunk's
// address for the data symbol, not the identifier itself.
inline constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct TAccessibleAnswer {
  std::wstring name;   // empty: the standard object's
  std::wstring value;  // empty: the standard object's
  long role = 0;       // 0: the standard object's
  long states_on = 0;  // states added to the standard object's
  long states_off = 0;  // states taken from it
};
using TAccessibleQuery = std::function<void(TAccessibleAnswer& answer)>;

// Answers WM_GETOBJECT for a control's client object with the standard object
// overlaid by the answer of the control's OnAccessible. Other objects (the window's frame, its
// scroll bars) are the standard ones: 0 is returned for them.
LRESULT AnswerGetObject(HWND window, WPARAM wparam, LPARAM lparam);

// Tells screen readers that the window's name, value or state changed
// (EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_STATECHANGE).
void NotifyAccessibleChange(HWND window, DWORD event);

}  // namespace lumitrax
