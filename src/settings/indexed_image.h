#pragma once
// An image control that shows one image of an image list and follows every
// change of the list by itself.
#include <windows.h>

#include "framework/control.h"
#include "framework/handles.h"
#include "framework/image_list.h"

namespace lumitrax {

class TIndexedImage : public TControl, private TImageListListener {
 public:
  explicit TIndexedImage(TWindow& parent);
  ~TIndexedImage() override;

  TImageList* ImageList() const noexcept { return image_list_; }
  void SetImageList(TImageList* list);
  int ImageIndex() const noexcept { return image_index_; }
  void SetImageIndex(int index);
  // True (the default): the image as an icon with its mask; false: as a bitmap.
  bool ImageListAsIcon() const noexcept { return as_icon_; }
  void SetImageListAsIcon(bool as_icon);

  // The caption is drawn centred over the picture when visible, or when the
  // picture is empty and CaptionWhenEmpty holds.
  bool CaptionVisible() const noexcept { return caption_visible_; }
  void SetCaptionVisible(bool visible);
  bool CaptionWhenEmpty() const noexcept { return caption_when_empty_; }
  void SetCaptionWhenEmpty(bool when_empty);

  bool PictureEmpty() const noexcept { return !icon_ && !bitmap_; }
  // The picture shown now (one of them is set, or neither).
  HICON PictureIcon() const noexcept { return icon_.get(); }
  HBITMAP PictureBitmap() const noexcept { return bitmap_.get(); }

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void ImageListChanged(TImageList& list) override;
  void ImageListDestroyed(TImageList& list) override;
  void UpdatePicture();
  void Redraw();
  void Paint(HDC dc);

  TImageList* image_list_ = nullptr;
  int image_index_ = 0;
  bool as_icon_ = true;
  bool caption_visible_ = false;
  bool caption_when_empty_ = true;
  UniqueIcon icon_;
  UniqueBitmap bitmap_;
};

}  // namespace lumitrax
