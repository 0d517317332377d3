#include "framework/message_dialog.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "core/placement.h"
#include "framework/application.h"
#include "framework/form.h"
#include "framework/handles.h"
#include "framework/os_functions.h"
#include "framework/work_area.h"

namespace lumitrax {
namespace {

constexpr int kFirstButtonId = 100;
HWND g_active_dialog = nullptr;

UniqueFont MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  os::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, dpi);
  return UniqueFont(::CreateFontIndirectW(&metrics.lfMessageFont));
}

SIZE MeasureText(HDC dc, const std::wstring& text, int max_width, UINT flags) {
  RECT rect{0, 0, max_width, 0};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | flags);
  return SIZE{rect.right, rect.bottom};
}

class TMessageForm : public TForm {
 public:
  explicit TMessageForm(const MessageDialogParams& params) : params_(params) {}

  int Execute() {
    const HWND window = Handle();
    Layout(window, std::nullopt);
    std::optional<TTaskWindowsDisabler> disabler(std::in_place, window);
    const HWND outer = g_active_dialog;
    g_active_dialog = window;
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    if (HWND focus = ::GetDlgItem(window, kFirstButtonId + params_.default_button)) ::SetFocus(focus);
    Application().ModalLoop([this] { return result_.has_value(); });
    g_active_dialog = outer;
    disabler.reset();
    DestroyHandle();
    return result_.value_or(params_.cancel_button);
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TForm::CreateParams(params);
    params.class_name = L"TMessageForm";
    params.caption = params_.caption;
    params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
    params.ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
    // Made on the monitor it shows on, at that monitor's DPI: laid out for
    // another monitor and moved there, it would be scaled by Windows and its
    // texts and buttons not.
    const HMONITOR monitor = TargetMonitor();
    SetDpi(os::DpiForMonitor(monitor));
    const core::Rect work = WorkAreaOf(monitor);
    params.x = work.left;
    params.y = work.top;
    params.width = params.height = 100;
  }

  // On a monitor of another scale: the suggested corner, and everything
  // measured and placed again at the new scale.
  void DpiChanged(UINT dpi, const RECT& suggested) override {
    TForm::DpiChanged(dpi, suggested);
    Layout(Handle(), POINT{suggested.left, suggested.top});
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }

  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case WM_COMMAND: {
        const int id = LOWORD(wparam);
        if (id == IDCANCEL) {
          Finish(params_.cancel_button);
        } else if (id >= kFirstButtonId && id < kFirstButtonId + static_cast<int>(params_.buttons.size())) {
          Finish(id - kFirstButtonId);
        }
        return 0;
      }
      case DM_GETDEFID: {
        // Enter chooses the button that has the focus, else the default one.
        const HWND focus = ::GetFocus();
        int id = kFirstButtonId + params_.default_button;
        if (focus && ::GetParent(focus) == Handle()) {
          const int focus_id = ::GetDlgCtrlID(focus);
          if (focus_id >= kFirstButtonId) id = focus_id;
        }
        return MAKELRESULT(id, DC_HASDEFID);
      }
      case WM_CLOSE:
        Finish(params_.cancel_button);
        return 0;
      case WM_PAINT: {
        PaintDc paint(Handle());
        if (params_.icon)
          ::DrawIconEx(paint.get(), icon_rect_.left, icon_rect_.top, params_.icon, icon_rect_.right - icon_rect_.left,
                       icon_rect_.bottom - icon_rect_.top, 0, nullptr, DI_NORMAL);
        return 0;
      }
      default:
        return TForm::WndProc(message, wparam, lparam);
    }
  }

 private:
  void Finish(int result) {
    if (!result_) result_ = result;
  }

  // The monitor the dialog shows on: the given window's, else the primary one.
  HMONITOR TargetMonitor() const {
    if (params_.centre_over) return ::MonitorFromWindow(params_.centre_over, MONITOR_DEFAULTTONEAREST);
    return ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  }

  // Measures and places the text, the icon and the buttons at the window's
  // DPI (making the children the first time), sizes the window to them and
  // puts it at `corner`, or centred where it belongs when there is none.
  void Layout(HWND window, std::optional<POINT> corner) {
    const UINT dpi = Dpi();
    auto px = [dpi](int value) { return ScaleForDpi(value, dpi); };
    // The children let go of the old font before it is deleted.
    const UniqueFont old_font = std::move(font_);
    font_ = MessageFont(dpi);
    WindowDc dc(window);
    SelectObjectScope select(dc.get(), font_.get());

    const int margin = px(11);
    const int icon_size = params_.icon ? px(32) : 0;
    const int text_left = margin + (params_.icon ? icon_size + margin : 0);
    const SIZE text = MeasureText(dc.get(), params_.text, px(420), DT_WORDBREAK | DT_NOPREFIX);

    const int button_height = px(25);
    const int button_gap = px(6);
    std::vector<int> widths;
    int buttons_width = 0;
    for (const auto& caption : params_.buttons) {
      const SIZE size = MeasureText(dc.get(), caption, px(400), DT_SINGLELINE);
      widths.push_back(std::max(px(75), static_cast<int>(size.cx) + px(16)));
      buttons_width += widths.back();
    }
    if (!widths.empty()) buttons_width += button_gap * static_cast<int>(widths.size() - 1);

    const int content_height = std::max<int>(icon_size, text.cy);
    const int client_width = std::max<int>(text_left + text.cx + margin, buttons_width + 2 * margin);
    const int buttons_top = margin + content_height + px(16);
    const int client_height = buttons_top + button_height + margin;

    icon_rect_ = RECT{margin, margin, margin + icon_size, margin + icon_size};
    const int text_top = margin + std::max(0, (icon_size - static_cast<int>(text.cy)) / 2);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!label_)
      label_ = ::CreateWindowExW(0, L"STATIC", params_.text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0,
                                 0, window, nullptr, instance, nullptr);
    ::SetWindowPos(label_, nullptr, text_left, text_top, text.cx, text.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

    int x = (client_width - buttons_width) / 2;
    for (size_t i = 0; i < params_.buttons.size(); ++i) {
      if (buttons_.size() <= i) {
        const bool is_default = static_cast<int>(i) == params_.default_button;
        buttons_.push_back(::CreateWindowExW(
            0, L"BUTTON", params_.buttons[i].c_str(),
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | (is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, 0, 0, 0, window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId + i)), instance, nullptr));
      }
      ::SetWindowPos(buttons_[i], nullptr, x, buttons_top, widths[i], button_height, SWP_NOZORDER | SWP_NOACTIVATE);
      ::SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
      x += widths[i] + button_gap;
    }

    RECT frame{0, 0, client_width, client_height};
    os::AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)), false,
                                 static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (corner) {
      ::SetWindowPos(window, nullptr, corner->x, corner->y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    }

    // Centred over the given window while it shows, else in the work area
    // nearest to it (or the primary monitor's).
    const core::Rect own{0, 0, width, height};
    core::Rect area;
    if (params_.centre_over && ::IsWindowVisible(params_.centre_over)) {
      RECT over{};
      ::GetWindowRect(params_.centre_over, &over);
      area = ToRect(over);
    } else {
      area = WorkAreaOf(TargetMonitor());
    }
    const core::Rect placed = core::CenterInWorkArea(own, area);
    ::SetWindowPos(window, HWND_TOP, placed.left, placed.top, width, height, SWP_NOACTIVATE);
  }

  const MessageDialogParams& params_;
  std::optional<int> result_;
  UniqueFont font_;
  RECT icon_rect_{};
  // Made by the first layout; destroyed with the dialog's window.
  HWND label_ = nullptr;
  std::vector<HWND> buttons_;
};

}  // namespace

int MessageDialog(const MessageDialogParams& params) {
  TMessageForm form(params);
  return form.Execute();
}

HWND ActiveMessageDialog() { return g_active_dialog; }

}  // namespace lumitrax
