#include "text_fit.h"

#include "framework/os_functions.h"

#include <algorithm>

namespace lumitrax::testing {
namespace {

std::wstring TextOf(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

// The system class a control is built on: "static" or "button", also when it
// is superclassed under a name of its own (some systems report that name as
// its real class too, so the control is asked what it is), else empty.
std::wstring BaseClass(HWND window) {
  wchar_t name[64] = {};
  ::RealGetWindowClassW(window, name, 64);
  std::wstring base = name;
  std::transform(base.begin(), base.end(), base.begin(), ::towlower);
  if (base == L"static" || base == L"button") return base;
  const LRESULT code = ::SendMessageW(window, WM_GETDLGCODE, 0, 0);
  if (code & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON | DLGC_RADIOBUTTON)) return L"button";
  if (code & DLGC_STATIC) {
    // A group box answers as a static text does.
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    return (style & BS_TYPEMASK) == BS_GROUPBOX ? L"button" : L"static";
  }
  return L"";
}

// The text's extent with `font`: on one line, or broken into lines at
// `wrap_width` as a word-wrapping control breaks it. A word longer than the
// width still sticks out, so the extent may be wider than `wrap_width`.
SIZE TextExtent(HWND window, HFONT font, const std::wstring& text, UINT format, int wrap_width) {
  const HDC dc = ::GetDC(window);
  const HGDIOBJ old = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
  RECT extent{0, 0, wrap_width, 0};
  std::wstring copy = text;
  ::DrawTextW(dc, copy.data(), static_cast<int>(copy.size()), &extent, format | DT_CALCRECT);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return {extent.right - extent.left, extent.bottom - extent.top};
}

// A visible sibling over any part of `drawn` (in the parent's client
// coordinates). Group boxes are frames around other controls and hide nothing.
HWND CoveringSibling(HWND control, const RECT& drawn) {
  for (HWND sibling = ::GetWindow(control, GW_HWNDFIRST); sibling;
       sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling == control || !(::GetWindowLongW(sibling, GWL_STYLE) & WS_VISIBLE)) continue;
    if ((::GetWindowLongW(sibling, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX && BaseClass(sibling) == L"button")
      continue;
    RECT rect{}, common{};
    ::GetWindowRect(sibling, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    if (::IntersectRect(&common, &rect, &drawn)) return sibling;
  }
  return nullptr;
}

void Check(std::vector<ClippedText>& clipped, HWND window, const wchar_t* kind, const std::wstring& text,
           SIZE needed, SIZE available) {
  if (needed.cx > available.cx || needed.cy > available.cy)
    clipped.push_back({window, kind, text, needed, available});
}

void CheckChild(std::vector<ClippedText>& clipped, HWND child) {
  // The control's own visibility: the window may be checked before it shows.
  if (!(::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) return;
  const std::wstring text = TextOf(child);
  if (text.empty()) return;
  const LONG style = ::GetWindowLongW(child, GWL_STYLE);
  const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0));
  const UINT dpi = os::DpiForWindow(child);
  RECT client{};
  ::GetClientRect(child, &client);
  const SIZE room{client.right, client.bottom};
  const std::wstring base = BaseClass(child);
  if (base == L"static") {
    const LONG type = style & SS_TYPEMASK;
    const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    SIZE needed{};
    if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT)
      needed = TextExtent(child, font, text, DT_WORDBREAK | DT_EXPANDTABS | prefix, room.cx);
    else if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE)
      needed = TextExtent(child, font, text, DT_SINGLELINE | DT_EXPANDTABS | prefix, 0);
    else
      return;
    const size_t before = clipped.size();
    Check(clipped, child, L"static", text, needed, room);
    if (clipped.size() > before) return;
    // The text fits its label; a control over it still hides part of it.
    const int left = type == SS_CENTER ? (room.cx - needed.cx) / 2 : type == SS_RIGHT ? room.cx - needed.cx : 0;
    RECT drawn{left, 0, left + needed.cx, needed.cy};
    ::MapWindowPoints(child, ::GetParent(child), reinterpret_cast<POINT*>(&drawn), 2);
    if (const HWND cover = CoveringSibling(child, drawn)) {
      RECT over{};
      ::GetWindowRect(cover, &over);
      ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&over), 2);
      // The room is what shows above the control that covers the text.
      clipped.push_back({child, L"static under \"" + TextOf(cover) + L"\"", text, needed,
                         {needed.cx, std::max(0, static_cast<int>(over.top - drawn.top))}});
    }
    return;
  }
  if (base != L"button") return;
  const LONG type = style & BS_TYPEMASK;
  const SIZE line = TextExtent(child, font, text, DT_SINGLELINE, 0);
  const int edge = os::SystemMetricsForDpi(SM_CXEDGE, dpi);
  switch (type) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      // The button's raised border and the focus rectangle inside it.
      Check(clipped, child, L"button", text, line, {room.cx - 4 * edge, room.cy - 4 * edge});
      break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: {
      // The box and the gap after it, as wide as the menu check mark.
      const int box = os::SystemMetricsForDpi(SM_CXMENUCHECK, dpi);
      const size_t before = clipped.size();
      Check(clipped, child, L"check box", text, line, {room.cx - box - box / 2, room.cy});
      if (clipped.size() > before) break;
      // The text fits its box; a neighbour over it still hides part of it.
      RECT drawn{box + box / 2, 0, box + box / 2 + line.cx, std::min(static_cast<int>(room.cy), static_cast<int>(line.cy))};
      ::MapWindowPoints(child, ::GetParent(child), reinterpret_cast<POINT*>(&drawn), 2);
      // (A label over it is the label's own finding: its text, not its window, counts.)
      if (const HWND cover = CoveringSibling(child, drawn); cover && BaseClass(cover) != L"static")
        clipped.push_back({child, L"check box under \"" + TextOf(cover) + L"\"", text, line, {0, 0}});
      break;
    }
    case BS_GROUPBOX: {
      // The caption sits on the frame, after a short stretch of it at each end.
      const TEXTMETRICW metrics = [&] {
        TEXTMETRICW tm{};
        const HDC dc = ::GetDC(child);
        const HGDIOBJ old = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
        ::GetTextMetricsW(dc, &tm);
        ::SelectObject(dc, old);
        ::ReleaseDC(child, dc);
        return tm;
      }();
      Check(clipped, child, L"group box", text, line, {room.cx - 2 * metrics.tmAveCharWidth, room.cy});
      break;
    }
    default:
      break;
  }
}

}  // namespace

std::vector<ClippedText> FindClippedTexts(HWND window) {
  std::vector<ClippedText> clipped;
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  const std::wstring caption = TextOf(window);
  if ((style & WS_CAPTION) == WS_CAPTION && !caption.empty()) {
    // The title bar: the window's width less its frame, the small icon and the
    // caption buttons (close, and minimize and maximize when it has them).
    const UINT dpi = os::DpiForWindow(window);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    os::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, dpi);
    const HFONT font = ::CreateFontIndirectW(&metrics.lfCaptionFont);
    const SIZE needed = TextExtent(window, font, caption, DT_SINGLELINE | DT_NOPREFIX, 0);
    ::DeleteObject(font);
    RECT frame{}, client{};
    ::GetWindowRect(window, &frame);
    ::GetClientRect(window, &client);
    const int buttons = 1 + ((style & WS_MINIMIZEBOX) ? 1 : 0) + ((style & WS_MAXIMIZEBOX) ? 1 : 0);
    const int room = client.right - buttons * metrics.iCaptionWidth - os::SystemMetricsForDpi(SM_CXSMICON, dpi);
    Check(clipped, window, L"caption", caption, needed, {room, metrics.iCaptionHeight});
  }
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM found) -> BOOL {
        CheckChild(*reinterpret_cast<std::vector<ClippedText>*>(found), child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&clipped));
  return clipped;
}

std::string DescribeClippedTexts(const std::vector<ClippedText>& clipped) {
  std::string lines;
  for (const ClippedText& item : clipped) {
    std::string text;
    for (wchar_t c : item.text) text += c < 128 ? static_cast<char>(c) : '?';
    lines += "\"" + text + "\" (" + std::string(item.kind.begin(), item.kind.end()) + ") needs " +
             std::to_string(item.needed.cx) + " x " + std::to_string(item.needed.cy) + ", has " +
             std::to_string(item.available.cx) + " x " + std::to_string(item.available.cy) + "\n";
  }
  return lines;
}

}  // namespace lumitrax::testing
