#include "framework/image.h"

#include <oleacc.h>

#include "framework/theme.h"

namespace lumitrax {
namespace {

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  ::GetObjectW(bitmap, sizeof(info), &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

COLORREF LowerLeftPixel(HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  SelectObjectScope select(dc.get(), bitmap);
  return ::GetPixel(dc.get(), 0, size.cy - 1);
}

}  // namespace

UniqueBitmap LoadBitmapResource(const wchar_t* name) {
  return UniqueBitmap(static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

UniqueBitmap CopyBitmap(HBITMAP bitmap) {
  return UniqueBitmap(static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void TImage::SetPicture(UniqueBitmap picture) {
  picture_ = std::move(picture);
  if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TImage::SetIcon(HICON icon) {
  icon_ = icon;
  if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TImage::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.class_name = L"TImage";
  AccessibleRole = ROLE_SYSTEM_GRAPHIC;
  params.background = nullptr;
}

LRESULT TImage::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDc paint(Handle());
      RECT client{};
      ::GetClientRect(Handle(), &client);
      ::FillRect(paint.get(), &client, Theme().FaceBrush());
      if (icon_) {
        ::DrawIconEx(paint.get(), 0, 0, icon_, client.right, client.bottom, 0, nullptr, DI_NORMAL);
      } else if (picture_) {
        const SIZE size = BitmapSize(picture_.get());
        UniqueMemoryDc source(::CreateCompatibleDC(paint.get()));
        SelectObjectScope select(source.get(), picture_.get());
        if (Transparent) {
          ::TransparentBlt(paint.get(), 0, 0, client.right, client.bottom, source.get(), 0, 0, size.cx, size.cy,
                           ::GetPixel(source.get(), 0, size.cy - 1));
        } else {
          ::StretchBlt(paint.get(), 0, 0, client.right, client.bottom, source.get(), 0, 0, size.cx, size.cy,
                       SRCCOPY);
        }
      }
      PaintLinkFocus(paint.get());
      return 0;
    }
    case WM_LBUTTONUP:
      Click();
      return 0;
    default:
      break;
  }
  return TControl::WndProc(message, wparam, lparam);
}

void TBitBtn::SetGlyph(HBITMAP glyph) {
  glyph_ = CopyBitmap(glyph);
  if (HandleAllocated()) ApplyGlyph();
}

void TBitBtn::ScaleChanged() {
  TButton::ScaleChanged();
  if (HandleAllocated() && glyph_) ApplyGlyph();
}

void TBitBtn::CreateWnd() {
  TButton::CreateWnd();
  if (glyph_) ApplyGlyph();
}

void TBitBtn::ApplyGlyph() {
  const SIZE size = BitmapSize(glyph_.get());
  UniqueImageList images(::ImageList_Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, 1, 0));
  // The image list takes its own copy of the bitmap; ours stays the glyph.
  UniqueBitmap copy = CopyBitmap(glyph_.get());
  ::ImageList_AddMasked(images.get(), copy.get(), LowerLeftPixel(glyph_.get()));
  BUTTON_IMAGELIST list{};
  list.himl = images.get();
  list.margin = RECT{Scale(4), 0, 0, 0};
  list.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
  ::SendMessageW(Handle(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
  // The button keeps using the list: release the old one only after the swap.
  images_ = std::move(images);
  ::InvalidateRect(Handle(), nullptr, TRUE);
}

}  // namespace lumitrax
