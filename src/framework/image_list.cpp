#include "framework/image_list.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "framework/errors.h"

namespace lumitrax {
namespace {

struct MaskedImage {
  UniqueBitmap image;
  UniqueBitmap mask;
};

// The image with its transparent pixels blacked out, as the list draws images
// through their masks, and the mask with those pixels set.
MaskedImage MakeMasked(HBITMAP source, COLORREF transparent) {
  BITMAP info{};
  if (!::GetObjectW(source, sizeof info, &info)) throw AppError(std::string("Invalid image for the image list"));
  const int width = info.bmWidth;
  const int height = info.bmHeight;

  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof header.bmiHeader;
  header.bmiHeader.biWidth = width;
  header.bmiHeader.biHeight = -height;  // top-down
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  {
    WindowDc screen(nullptr);
    if (!::GetDIBits(screen.get(), source, 0, height, pixels.data(), &header, DIB_RGB_COLORS))
      throw AppError(std::string("Cannot read the image for the image list"));
  }

  // Pixels are 0x00RRGGBB in memory order; COLORREF is 0x00BBGGRR.
  const uint32_t key = (GetRValue(transparent) << 16) | (GetGValue(transparent) << 8) | GetBValue(transparent);
  const int mask_stride = ((width + 15) / 16) * 2;  // monochrome rows are WORD aligned
  std::vector<uint8_t> mask_bits(static_cast<size_t>(mask_stride) * height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t& pixel = pixels[static_cast<size_t>(y) * width + x];
      pixel &= 0x00FFFFFF;  // no alpha: the mask decides
      if (pixel == key) {
        pixel = 0;
        mask_bits[static_cast<size_t>(y) * mask_stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  MaskedImage result;
  {
    WindowDc screen(nullptr);
    result.image.reset(::CreateCompatibleBitmap(screen.get(), width, height));
    if (!result.image ||
        !::SetDIBits(screen.get(), result.image.get(), 0, height, pixels.data(), &header, DIB_RGB_COLORS))
      throw AppError(std::string("Cannot copy the image for the image list"));
  }
  result.mask.reset(::CreateBitmap(width, height, 1, 1, mask_bits.data()));
  if (!result.mask) throw AppError(std::string("Cannot make the mask for the image list"));
  return result;
}

}  // namespace

TImageList::TImageList(int width, int height)
    : width_(width), height_(height), list_(::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)) {
  if (!list_) throw AppError(std::string("Cannot create an image list"));
}

void TImageList::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  UniqueImageList list(::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4));
  if (!list) throw AppError(std::string("Cannot create an image list"));
  list_ = std::move(list);
  width_ = width;
  height_ = height;
  Change();
}

TImageList::~TImageList() {
  const std::vector<TImageListListener*> listeners = std::exchange(listeners_, {});
  for (TImageListListener* listener : listeners) listener->ImageListDestroyed(*this);
}

int TImageList::Count() const { return ::ImageList_GetImageCount(list_.get()); }

int TImageList::Add(HBITMAP image, HBITMAP mask) {
  const int index = ::ImageList_Add(list_.get(), image, mask);
  if (index < 0) throw AppError(std::string("Cannot add an image to the image list"));
  Change();
  return index;
}

int TImageList::AddMasked(HBITMAP image, COLORREF transparent) {
  const MaskedImage masked = MakeMasked(image, transparent);
  return Add(masked.image.get(), masked.mask.get());
}

void TImageList::Replace(int index, HBITMAP image, HBITMAP mask) {
  CheckIndex(index);
  if (!::ImageList_Replace(list_.get(), index, image, mask))
    throw AppError(std::string("Cannot replace an image of the image list"));
  Change();
}

void TImageList::ReplaceMasked(int index, HBITMAP image, COLORREF transparent) {
  const MaskedImage masked = MakeMasked(image, transparent);
  Replace(index, masked.image.get(), masked.mask.get());
}

void TImageList::Delete(int index) {
  CheckIndex(index);
  ::ImageList_Remove(list_.get(), index);
  Change();
}

void TImageList::Clear() {
  ::ImageList_Remove(list_.get(), -1);
  Change();
}

UniqueIcon TImageList::GetIcon(int index) const {
  if (index < 0 || index >= Count()) return UniqueIcon();
  return UniqueIcon(::ImageList_GetIcon(list_.get(), index, ILD_NORMAL));
}

UniqueBitmap TImageList::GetBitmap(int index) const {
  if (index < 0 || index >= Count()) return UniqueBitmap();
  WindowDc screen(nullptr);
  UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width_, height_));
  UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  {
    SelectObjectScope select(dc.get(), bitmap.get());
    const RECT all{0, 0, width_, height_};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::ImageList_Draw(list_.get(), index, dc.get(), 0, 0, ILD_NORMAL);
  }
  return bitmap;
}

void TImageList::Draw(HDC dc, int x, int y, int index) const {
  ::ImageList_Draw(list_.get(), index, dc, x, y, ILD_NORMAL);
}

void TImageList::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && std::exchange(changed_while_updating_, false)) Change();
}

void TImageList::RegisterChanges(TImageListListener& listener) {
  if (std::find(listeners_.begin(), listeners_.end(), &listener) == listeners_.end()) listeners_.push_back(&listener);
}

void TImageList::UnregisterChanges(TImageListListener& listener) {
  std::erase(listeners_, &listener);
}

void TImageList::Change() {
  if (updating_ > 0) {
    changed_while_updating_ = true;
    return;
  }
  // A listener may unregister itself or others while it hears the news.
  const std::vector<TImageListListener*> listeners = listeners_;
  for (TImageListListener* listener : listeners)
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
      listener->ImageListChanged(*this);
}

void TImageList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw AppError("Image index " + std::to_string(index) + " is out of range");
}

}  // namespace lumitrax
