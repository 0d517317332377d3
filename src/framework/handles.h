#pragma once
// Move-only owners for every Windows handle the program holds. A tray program
// that leaks one handle per icon change dies after a few weeks, so nothing is
// held in a raw handle past the statement that created it.
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace lumitrax {

// Policy: the handle type, its "empty" value and how to release it.
template <typename T, auto Close, T Invalid = T{}>
class UniqueHandle {
 public:
  using pointer = T;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(T value) noexcept : value_(value) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  T get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Invalid; }

  // Releases the held handle; the caller's last error survives the release.
  void reset(T value = Invalid) noexcept {
    if (value_ != Invalid) {
      const DWORD last_error = ::GetLastError();
      Close(value_);
      ::SetLastError(last_error);
    }
    value_ = value;
  }
  [[nodiscard]] T release() noexcept { return std::exchange(value_, Invalid); }
  // For out-parameters: empties the owner first, then hands out the address.
  T* put() noexcept {
    reset();
    return &value_;
  }

 private:
  T value_ = Invalid;
};

namespace handle_detail {
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseRegKey(HKEY h) { ::RegCloseKey(h); }
inline void CloseWindow(HWND h) { ::DestroyWindow(h); }
template <typename T>
void CloseGdiObject(T h) { ::DeleteObject(h); }
inline void CloseIcon(HICON h) { ::DestroyIcon(h); }
inline void CloseMenu(HMENU h) { ::DestroyMenu(h); }
inline void CloseImageList(HIMAGELIST h) { ::ImageList_Destroy(h); }
inline void CloseHook(HHOOK h) { ::UnhookWindowsHookEx(h); }
inline void CloseWinEventHook(HWINEVENTHOOK h) { ::UnhookWinEvent(h); }
inline void CloseMemoryDc(HDC h) { ::DeleteDC(h); }
}  // namespace handle_detail

using UniqueKernelHandle = UniqueHandle<HANDLE, handle_detail::CloseKernelHandle>;
using UniqueMutex = UniqueKernelHandle;
using UniqueRegKey = UniqueHandle<HKEY, handle_detail::CloseRegKey>;
using UniqueWindow = UniqueHandle<HWND, handle_detail::CloseWindow>;
using UniqueIcon = UniqueHandle<HICON, handle_detail::CloseIcon>;
using UniqueMenu = UniqueHandle<HMENU, handle_detail::CloseMenu>;
using UniqueImageList = UniqueHandle<HIMAGELIST, handle_detail::CloseImageList>;
using UniqueHook = UniqueHandle<HHOOK, handle_detail::CloseHook>;
using UniqueWinEventHook = UniqueHandle<HWINEVENTHOOK, handle_detail::CloseWinEventHook>;
using UniqueMemoryDc = UniqueHandle<HDC, handle_detail::CloseMemoryDc>;

template <typename T>
using UniqueGdi = UniqueHandle<T, &handle_detail::CloseGdiObject<T>>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueRegion = UniqueGdi<HRGN>;

// A device context got from GetDC, released to its window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint / EndPaint as a scope.
class PaintDc {
 public:
  explicit PaintDc(HWND window) noexcept : window_(window) { dc_ = ::BeginPaint(window, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { ::EndPaint(window_, &ps_); }
  HDC get() const noexcept { return dc_; }
  const RECT& rect() const noexcept { return ps_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// SelectObject for a scope: the previous object goes back into the DC at the end.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;
  ~SelectObjectScope() {
    if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace lumitrax
