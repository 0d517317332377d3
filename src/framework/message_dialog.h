#pragma once
// A modal message dialog with the program's own button captions. Its modal loop
// is the application's, so the message filter sees every message meanwhile.
#include <windows.h>

#include <string>
#include <vector>

namespace lumitrax {

struct MessageDialogParams {
  std::wstring caption;
  std::wstring text;
  HICON icon = nullptr;                // shown at 32 x 32 (scaled) left of the text
  std::vector<std::wstring> buttons;   // captions, left to right, "&" marks the accelerator
  int default_button = 0;              // index of the focused button chosen by Enter
  int cancel_button = -1;              // index chosen by Escape and the close box
  // Centred over this window when it is visible, otherwise in the work area of
  // the monitor nearest to it (the primary monitor when null).
  HWND centre_over = nullptr;
};

// Shows the dialog and returns the index of the chosen button, or cancel_button
// when the dialog was dismissed otherwise (Escape, close box, application end).
int MessageDialog(const MessageDialogParams& params);

// The top-level window of the open message dialog on this thread, or null
// (tests use it to answer the dialog).
HWND ActiveMessageDialog();

}  // namespace lumitrax
