#pragma once
// Picture controls: an image showing a bitmap (its lower-left pixel's colour is
// transparent when Transparent is set), and a push button with a glyph.
#include <windows.h>

#include "framework/control.h"
#include "framework/handles.h"

namespace lumitrax {

// A bitmap resource of the program's module, loaded as a device-independent section.
UniqueBitmap LoadBitmapResource(const wchar_t* name);
// An independent copy of a bitmap.
UniqueBitmap CopyBitmap(HBITMAP bitmap);

class TImage : public TControl {
 public:
  using TControl::TControl;

  HBITMAP Picture() const noexcept { return picture_.get(); }
  void SetPicture(UniqueBitmap picture);
  // An icon drawn at the control's size instead of a bitmap; not owned (a
  // shared icon of the module).
  HICON Icon() const noexcept { return icon_; }
  void SetIcon(HICON icon);
  bool Transparent = false;

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  UniqueBitmap picture_;
  HICON icon_ = nullptr;
};

class TBitBtn : public TButton {
 public:
  using TButton::TButton;

  // The glyph left of the caption; the glyph's lower-left pixel colour is transparent.
  void SetGlyph(HBITMAP glyph);
  HBITMAP Glyph() const noexcept { return glyph_.get(); }
  void ScaleChanged() override;

 protected:
  void CreateWnd() override;

 private:
  void ApplyGlyph();
  UniqueBitmap glyph_;
  UniqueImageList images_;
};

}  // namespace lumitrax
