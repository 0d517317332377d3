#pragma once
// The plain standard controls of the settings window: group box, panel, and a
// read-only drop-down list.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/control.h"
#include "framework/handles.h"

namespace lumitrax {

// A group's frame and caption in the dark or high-contrast theme's colours.
void PaintThemedGroup(HDC dc, HWND group, HFONT font, const std::wstring& caption);

// A frame with a caption that holds other controls.
class TGroupBox : public TControl {
 public:
  using TControl::TControl;

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
};

enum class TBevel { None, Lowered, Raised };

// A plain area with a bevel, its own background colour and an optional centred
// caption in a font of its own; it can paint through a memory bitmap so that
// what it holds does not flicker when it is redrawn.
class TPanel : public TControl {
 public:
  using TControl::TControl;

  COLORREF Color() const noexcept { return color_; }
  void SetColor(COLORREF color);
  TBevel BevelOuter = TBevel::Lowered;
  bool DoubleBuffered = false;
  // The caption's font: face, height in 96-dpi pixels, bold, colour.
  void SetCaptionFont(const std::wstring& face, int height96, bool bold, COLORREF color);
  COLORREF CaptionColor() const noexcept { return caption_color_; }
  void SetCaptionColor(COLORREF color);
  bool ShowCaption = true;

  HFONT Font() override;
  void ScaleChanged() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HDC dc, const RECT& client);

  COLORREF color_ = ::GetSysColor(COLOR_BTNFACE);
  COLORREF caption_color_ = ::GetSysColor(COLOR_WINDOWTEXT);
  std::wstring font_face_;
  int font_height96_ = 0;
  bool font_bold_ = false;
  UniqueFont font_;
};

// A drop-down list without typing. OnChange fires on the user's choice only.
class TComboBox : public TControl {
 public:
  using TControl::TControl;

  void SetItems(std::vector<std::wstring> items);
  const std::vector<std::wstring>& Items() const noexcept { return items_; }
  int ItemIndex() const;
  void SetItemIndex(int index);

  TNotifyEvent OnChange;
  // The chosen item's text as the value.
  void DescribeForAccessibility(TAccessibleAnswer& answer) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  // The height of a combo box includes its drop-down list.
  int WindowHeight(int /*height96*/) override { return Scale(200); }

 private:
  std::vector<std::wstring> items_;
  int item_index_ = -1;
};

}  // namespace lumitrax
