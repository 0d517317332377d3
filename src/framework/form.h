#pragma once
// A top-level window of the program: owned by the application window (so it
// never gets a taskbar button of its own), with the form events the program's
// windows hang their behaviour on.
#include <windows.h>

#include <functional>

#include <string>
#include <vector>

#include "framework/handles.h"
#include "framework/window.h"

namespace lumitrax {

enum class TCloseAction { None, Hide, Free, Minimize };

// Modal results.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

// Disables the thread's other visible windows for a modal window's time, and
// enables them again at the end of the scope.
class TTaskWindowsDisabler {
 public:
  explicit TTaskWindowsDisabler(HWND modal_window);
  ~TTaskWindowsDisabler();
  TTaskWindowsDisabler(const TTaskWindowsDisabler&) = delete;
  TTaskWindowsDisabler& operator=(const TTaskWindowsDisabler&) = delete;

 private:
  std::vector<HWND> disabled_;
};

enum TShiftState : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
TShiftState CurrentShiftState();

class TForm : public TWindow {
 public:
  TForm();
  ~TForm() override;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  std::function<void(TComponent& sender, bool& can_close)> OnCloseQuery;
  std::function<void(TComponent& sender, TCloseAction& action)> OnClose;
  std::function<void(TComponent& sender, WORD& key, TShiftState shift)> OnKeyDown;
  // The form sees the key-down messages of all its controls first.
  bool KeyPreview = false;

  void Show();
  void Hide();
  bool Visible() const;
  void SetVisible(bool visible);
  void BringToFront();
  // A close request: asks OnCloseQuery, then OnClose; closing the main form
  // terminates the application.
  void Close();
  bool CloseQuery();
  // Shows the form modally until ModalResult is set (a close request sets
  // mrCancel) and returns it; the form is hidden again at the end.
  int ShowModal();
  int ModalResult = mrNone;

  // The form's font, by face and height in 96-dpi pixels, scaled to the DPI.
  void SetFont(const std::wstring& face, int height96, bool bold = false);
  HFONT Font() override;

  // Shows the text as a tool tip when the mouse rests on the control. A
  // relayed hint hears of the mouse only through TTM_RELAYEVENT from the form
  // itself, not by subclassing the control.
  enum class THintFeed { Subclass, Relayed };
  void AddHint(HWND control, const std::wstring& text, THintFeed feed = THintFeed::Subclass);
  // The tool tip window, owned by the form's window (and destroyed with it); null before the first hint.
  HWND ToolTip() const noexcept { return tool_tip_; }

  bool WantsDialogKeys() const override { return true; }
  bool PreviewKeyMessage(MSG& msg) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  // Forms show the application icon in their caption.
  void CreateWnd() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void HandleDestroyed() override;
  // The window moved to a monitor of another DPI (or the monitor's scale
  // changed): it takes the suggested rectangle, its font at the new size and
  // every control's place and font at the new scale.
  virtual void DpiChanged(UINT dpi, const RECT& suggested);
  // The theme (light, dark, high contrast) or its colours changed: the title
  // bar follows and everything is painted again. Forms with colours of their
  // own set them anew first.
  virtual void ThemeChanged();
  // Every control of the window, parents before their children, at the current scale.
  void RescaleControls();

 private:
  std::wstring font_face_ = L"Tahoma";
  int font_height96_ = 11;
  bool font_bold_ = false;
  UniqueFont font_;
  HWND tool_tip_ = nullptr;
  bool modal_ = false;
};

}  // namespace lumitrax
