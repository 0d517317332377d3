#pragma once
// An image list of small masked images that tells its listeners about every
// change, so that whatever shows one of its images (the tray icon, a preview
// image) follows without being asked.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/handles.h"
#include "framework/window.h"

namespace lumitrax {

class TImageList;

// Told about changes of the image lists it registered with.
class TImageListListener {
 public:
  virtual ~TImageListListener() = default;
  // Images were added, replaced, removed or cleared.
  virtual void ImageListChanged(TImageList& list) = 0;
  // The list is going away; the listener is already unregistered.
  virtual void ImageListDestroyed(TImageList& list) = 0;
};

class TImageList : public TComponent {
 public:
  explicit TImageList(int width = 16, int height = 16);
  ~TImageList() override;

  int Width() const noexcept { return width_; }
  // Images of another size: the list is emptied (listeners hear of it).
  void SetSize(int width, int height);
  int Height() const noexcept { return height_; }
  int Count() const;
  HIMAGELIST Handle() const noexcept { return list_.get(); }

  // The image and its monochrome mask (white = transparent); returns the index.
  int Add(HBITMAP image, HBITMAP mask);
  // The mask is made from the pixels of `transparent`.
  int AddMasked(HBITMAP image, COLORREF transparent);
  void Replace(int index, HBITMAP image, HBITMAP mask);
  void ReplaceMasked(int index, HBITMAP image, COLORREF transparent);
  void Delete(int index);
  void Clear();

  // The image as an icon with its mask, or as a bitmap whose transparent
  // pixels are black. Empty for an index out of range.
  UniqueIcon GetIcon(int index) const;
  UniqueBitmap GetBitmap(int index) const;
  void Draw(HDC dc, int x, int y, int index) const;

  // Several changes as one: listeners hear once, at the last EndUpdate.
  void BeginUpdate() noexcept { ++updating_; }
  void EndUpdate();

  void RegisterChanges(TImageListListener& listener);
  void UnregisterChanges(TImageListListener& listener);

 private:
  void Change();
  void CheckIndex(int index) const;

  int width_;
  int height_;
  UniqueImageList list_;
  std::vector<TImageListListener*> listeners_;
  int updating_ = 0;
  bool changed_while_updating_ = false;
};

}  // namespace lumitrax
