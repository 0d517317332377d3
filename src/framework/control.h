#pragma once
// Child controls: a window inside a parent window, placed in 96-dpi pixels and
// scaled to the parent's DPI, with the parent's font, a caption, Enabled and
// Visible. The standard controls are superclassed, so each is one of our
// objects from its first message on.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/accessible.h"
#include "framework/handles.h"
#include "framework/window.h"

namespace lumitrax {

class TControl : public TWindow {
 public:
  explicit TControl(TWindow& parent);

  TWindow& Parent() const noexcept { return *parent_; }

  // Position and size in 96-dpi pixels, relative to the parent's client area.
  void SetBounds(int left, int top, int width, int height);
  const RECT& Bounds() const noexcept { return bounds_; }

  const std::wstring& Caption() const noexcept { return caption_; }
  void SetCaption(const std::wstring& caption);
  bool Enabled() const noexcept { return enabled_; }
  virtual void SetEnabled(bool enabled);
  bool Visible() const noexcept { return visible_; }
  void SetVisible(bool visible);

  // The tool tip text; shown by the form's tool tip when it has one.
  std::wstring Hint;
  // The hand cursor over the control, as over a web link.
  bool HandCursor = false;
  TNotifyEvent OnClick;
  // What a screen reader hears beyond the standard object's answer (a name
  // where no label stands before the control, the value of a drawn control,
  // the link role); unset, the standard object answers alone.
  TAccessibleQuery OnAccessible;
  // Tells screen readers that the answer changed.
  void AccessibleChanged(DWORD event = EVENT_OBJECT_NAMECHANGE);
  // The answer now: the control class's own, then OnAccessible's.
  virtual void DescribeForAccessibility(TAccessibleAnswer& answer);
  // The role a screen reader hears. Said by the control itself: the standard
  // object does not know our classes by name everywhere (Wine's reads the
  // class name, where Windows reads the system class a control is built on).
  long AccessibleRole = 0;
  // The text of the label directly before the control in the z-order, without
  // its "&": the name screen readers give a list or an edit. Said by the
  // control itself as well, so that every reader hears it.
  std::wstring LabelBefore();
  // A control that is a web link: a tab stop with the link role, opened by
  // Enter or Space, with a focus rectangle while it has the focus.
  bool IsLink = false;

  HFONT Font() override { return parent_->Font(); }
  UINT Dpi() override { return parent_->Dpi(); }
  // A system control whose visual style ignores the colours its parent gives
  // (check boxes, group boxes, drop-down lists): in the dark theme it is drawn
  // without the style, in the classic look that takes them.
  bool ClassicLookInDark = false;
  // Pixels at the parent's DPI for a 96-dpi value.
  int Scale(int value96);
  // The theme changed (light, dark, high contrast): controls that need it
  // take their look anew; the form repaints them afterwards.
  virtual void ThemeChanged();
  // The DPI changed: the control takes its bounds and font at the new scale.
  // Controls with fonts or pictures of their own make them anew first.
  virtual void ScaleChanged();

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  virtual void Click();
  // The focus rectangle over the client area while a link has the focus;
  // controls that paint themselves call it at the end of their painting.
  void PaintLinkFocus(HDC dc);
  // The window's height in pixels for a height in 96-dpi pixels; drop-down
  // lists add their list's.
  virtual int WindowHeight(int height96) { return Scale(height96); }

 private:
  TWindow* parent_;
  RECT bounds_{0, 0, 0, 0};
  std::wstring caption_;
  bool enabled_ = true;
  bool visible_ = true;
  int id_;
};

// A push button; OnClick on a click or Space/Enter.
class TButton : public TControl {
 public:
  using TControl::TControl;

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
};

// A check box. Like the user's click, a programmatic change of Checked fires
// OnClick, so one handler serves both.
class TCheckBox : public TControl {
 public:
  using TControl::TControl;
  void DescribeForAccessibility(TAccessibleAnswer& answer) override;

  bool Checked() const noexcept { return checked_; }
  void SetChecked(bool checked);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  bool checked_ = false;
};

enum class TAlignment { Left, Center, Right };

// A static text. Its "&" accelerator moves the focus to the control that
// follows it in the tab order; it can have a font and colour of its own, a
// hand cursor, and tell when the mouse enters and leaves it.
class TLabel : public TControl {
 public:
  using TControl::TControl;

  TAlignment Alignment = TAlignment::Left;
  bool RightToLeftReading = false;
  bool WordWrap = true;
  // Widens the label to its text when the text is wider than its bounds.
  bool AutoSize = false;
  // A font of its own (face, 96-dpi height) instead of the parent's.
  void SetOwnFont(const std::wstring& face, int height96, COLORREF color, bool bold = false);
  void SetUnderline(bool underline);
  bool Underline() const noexcept { return underline_; }
  COLORREF FontColor() const noexcept { return font_color_; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  HFONT Font() override;
  void ScaleChanged() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void CreateWnd() override;

 private:
  void FitToText();
  void ApplyFont();
  std::wstring font_face_;
  int font_height96_ = 0;
  COLORREF font_color_ = CLR_INVALID;
  bool font_bold_ = false;
  bool underline_ = false;
  bool mouse_inside_ = false;
  UniqueFont font_;
};

}  // namespace lumitrax
