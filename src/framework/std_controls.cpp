#include "framework/std_controls.h"

#include <oleacc.h>

#include "framework/theme.h"

#include <utility>

namespace lumitrax {

void TGroupBox::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.class_name = L"TGroupBox";
  AccessibleRole = ROLE_SYSTEM_GROUPING;
  params.base_class = L"BUTTON";
  params.style |= BS_GROUPBOX | WS_CLIPCHILDREN;
  params.ex_style |= WS_EX_CONTROLPARENT;
}

void PaintThemedGroup(HDC dc, HWND group, HFONT font, const std::wstring& caption) {
  const core::Palette& colors = Theme().Colors();
  RECT client{};
  ::GetClientRect(group, &client);
  ::FillRect(dc, &client, Theme().FaceBrush());
  SelectObjectScope select(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  RECT frame{client.left, client.top + metrics.tmHeight / 2, client.right, client.bottom};
  const UniqueBrush line(::CreateSolidBrush(Theme().FrameColor()));
  ::FrameRect(dc, &frame, line.get());
  if (caption.empty()) return;
  std::wstring text = caption;
  RECT extent{0, 0, 0, 0};
  ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
  const int left = ::MulDiv(8, static_cast<int>(WindowDpi(group)), 96);
  RECT place{client.left + left - 2, client.top, client.left + left + extent.right + 2, client.top + extent.bottom};
  ::FillRect(dc, &place, Theme().FaceBrush());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::IsWindowEnabled(group) ? colors.text : colors.disabled_text);
  RECT text_rect{place.left + 2, place.top, place.right, place.bottom};
  ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &text_rect, DT_SINGLELINE);
}

LRESULT TGroupBox::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) {
    // A group box leaves its inside to its parent, which clips its children:
    // the group fills it itself.
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::FillRect(reinterpret_cast<HDC>(wparam), &client, Theme().FaceBrush());
    return 1;
  }
  if (message == WM_PAINT && Theme().DrawsOwnFrames()) {
    // A visual style draws a group's caption in its own colour whatever the
    // parent says: in the dark and high-contrast themes the group draws itself.
    PaintDc paint(Handle());
    PaintThemedGroup(paint.get(), Handle(), Font(), Caption());
    return 0;
  }
  return TControl::WndProc(message, wparam, lparam);
}

void TPanel::SetColor(COLORREF color) {
  color_ = color;
  if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TPanel::SetCaptionColor(COLORREF color) {
  caption_color_ = color;
  if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TPanel::SetCaptionFont(const std::wstring& face, int height96, bool bold, COLORREF color) {
  font_face_ = face;
  font_height96_ = height96;
  font_bold_ = bold;
  caption_color_ = color;
  font_.reset();
}

HFONT TPanel::Font() {
  if (font_face_.empty()) return TControl::Font();
  if (!font_) {
    LOGFONTW log{};
    log.lfHeight = -Scale(font_height96_);
    log.lfWeight = font_bold_ ? FW_BOLD : FW_NORMAL;
    log.lfCharSet = DEFAULT_CHARSET;
    log.lfQuality = CLEARTYPE_QUALITY;
    font_face_.copy(log.lfFaceName, LF_FACESIZE - 1);
    font_.reset(::CreateFontIndirectW(&log));
  }
  return font_.get();
}

void TPanel::ScaleChanged() {
  const UniqueFont old = std::move(font_);
  TControl::ScaleChanged();
  if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TPanel::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.class_name = L"TPanel";
  AccessibleRole = ROLE_SYSTEM_PANE;
  params.style |= WS_CLIPCHILDREN;
  params.ex_style |= WS_EX_CONTROLPARENT;
}

void TPanel::Paint(HDC dc, const RECT& client) {
  UniqueBrush background(::CreateSolidBrush(color_));
  ::FillRect(dc, &client, background.get());
  RECT inner = client;
  if (BevelOuter != TBevel::None) {
    ::DrawEdge(dc, &inner, BevelOuter == TBevel::Lowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
  }
  if (ShowCaption && !Caption().empty()) {
    SelectObjectScope font(dc, Font());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, caption_color_);
    std::wstring text = Caption();
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &inner,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

LRESULT TPanel::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDc paint(Handle());
      RECT client{};
      ::GetClientRect(Handle(), &client);
      if (DoubleBuffered) {
        UniqueMemoryDc memory(::CreateCompatibleDC(paint.get()));
        UniqueBitmap bitmap(::CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
        SelectObjectScope select(memory.get(), bitmap.get());
        Paint(memory.get(), client);
        ::BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
      } else {
        Paint(paint.get(), client);
      }
      return 0;
    }
    case WM_PRINTCLIENT: {
      // What the panel holds may paint the panel's background under itself.
      RECT client{};
      ::GetClientRect(Handle(), &client);
      Paint(reinterpret_cast<HDC>(wparam), client);
      return 0;
    }
    default:
      return TControl::WndProc(message, wparam, lparam);
  }
}

void TComboBox::SetItems(std::vector<std::wstring> items) {
  items_ = std::move(items);
  if (item_index_ >= static_cast<int>(items_.size())) item_index_ = -1;
  if (!HandleAllocated()) return;
  ::SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
  for (const auto& item : items_) ::SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  ::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(item_index_), 0);
}

int TComboBox::ItemIndex() const { return item_index_; }

void TComboBox::SetItemIndex(int index) {
  item_index_ = (index >= 0 && index < static_cast<int>(items_.size())) ? index : -1;
  if (HandleAllocated()) ::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(item_index_), 0);
  AccessibleChanged(EVENT_OBJECT_VALUECHANGE);
}

void TComboBox::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.class_name = L"TComboBox";
  ClassicLookInDark = true;
  AccessibleRole = ROLE_SYSTEM_COMBOBOX;
  params.base_class = L"COMBOBOX";
  params.style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
}

void TComboBox::CreateWnd() {
  TControl::CreateWnd();
  SetItems(items_);
}

LRESULT TComboBox::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == CN_BASE + WM_COMMAND && HIWORD(wparam) == CBN_SELCHANGE) {
    item_index_ = static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
    if (OnChange) OnChange(*this);
    return 0;
  }
  return TControl::WndProc(message, wparam, lparam);
}

void TComboBox::DescribeForAccessibility(TAccessibleAnswer& answer) {
  const int index = ItemIndex();
  if (index >= 0 && index < static_cast<int>(items_.size())) answer.value = items_[static_cast<size_t>(index)];
  answer.states_on |= STATE_SYSTEM_FOCUSABLE;
  answer.name = LabelBefore();
  TControl::DescribeForAccessibility(answer);
}

}  // namespace lumitrax
