#include "settings/indexed_image.h"

#include <oleacc.h>

namespace lumitrax {

TIndexedImage::TIndexedImage(TWindow& parent) : TControl(parent) {}

TIndexedImage::~TIndexedImage() {
  if (image_list_) image_list_->UnregisterChanges(*this);
}

void TIndexedImage::SetImageList(TImageList* list) {
  if (list == image_list_) return;
  if (image_list_) image_list_->UnregisterChanges(*this);
  image_list_ = list;
  if (image_list_) image_list_->RegisterChanges(*this);
  UpdatePicture();
}

void TIndexedImage::SetImageIndex(int index) {
  image_index_ = index;
  UpdatePicture();
}

void TIndexedImage::SetImageListAsIcon(bool as_icon) {
  as_icon_ = as_icon;
  UpdatePicture();
}

void TIndexedImage::SetCaptionVisible(bool visible) {
  caption_visible_ = visible;
  Redraw();
}

void TIndexedImage::SetCaptionWhenEmpty(bool when_empty) {
  caption_when_empty_ = when_empty;
  Redraw();
}

void TIndexedImage::ImageListChanged(TImageList&) { UpdatePicture(); }

void TIndexedImage::ImageListDestroyed(TImageList&) { image_list_ = nullptr; }

void TIndexedImage::UpdatePicture() {
  // An index outside the list keeps the last picture.
  if (!image_list_ || image_index_ < 0 || image_index_ >= image_list_->Count()) return;
  if (as_icon_) {
    icon_ = image_list_->GetIcon(image_index_);
    bitmap_.reset();
  } else {
    bitmap_ = image_list_->GetBitmap(image_index_);
    icon_.reset();
  }
  Redraw();
}

void TIndexedImage::Redraw() {
  if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TIndexedImage::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.class_name = L"TIndexedImage";
  AccessibleRole = ROLE_SYSTEM_GRAPHIC;
  params.class_style = 0;
}

void TIndexedImage::Paint(HDC dc) {
  const HWND window = Handle();
  RECT client{};
  ::GetClientRect(window, &client);
  // The parent's background shows around and through the picture, as the
  // parent paints it (a panel's own colour, the form's face).
  POINT origin{0, 0};
  ::MapWindowPoints(window, ::GetParent(window), &origin, 1);
  POINT previous{};
  ::SetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
  ::SendMessageW(::GetParent(window), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ::SendMessageW(::GetParent(window), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  ::SetViewportOrgEx(dc, previous.x, previous.y, nullptr);

  if (icon_) {
    ::DrawIconEx(dc, 0, 0, icon_.get(), 0, 0, 0, nullptr, DI_NORMAL);
  } else if (bitmap_) {
    BITMAP info{};
    ::GetObjectW(bitmap_.get(), sizeof info, &info);
    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    SelectObjectScope select(source.get(), bitmap_.get());
    ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
  }
  if (!Caption().empty() && (caption_visible_ || (caption_when_empty_ && PictureEmpty()))) {
    SelectObjectScope font(dc, Font() ? Font() : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    std::wstring text = Caption();
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

LRESULT TIndexedImage::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painted whole, with the parent's background, in WM_PAINT
    case WM_PAINT: {
      PaintDc paint(Handle());
      RECT client{};
      ::GetClientRect(Handle(), &client);
      // Drawn off screen first so that a changing picture does not flicker.
      UniqueMemoryDc buffer(::CreateCompatibleDC(paint.get()));
      UniqueBitmap canvas(::CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
      {
        SelectObjectScope select(buffer.get(), canvas.get());
        Paint(buffer.get());
        ::BitBlt(paint.get(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = TControl::WndProc(message, wparam, lparam);
      Redraw();
      return result;
    }
    case WM_LBUTTONUP:
      Click();
      return 0;
    default:
      return TControl::WndProc(message, wparam, lparam);
  }
}

}  // namespace lumitrax
