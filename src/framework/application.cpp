#include "framework/application.h"

#include "framework/boundary.h"
#include "framework/form.h"
#include "framework/scope_exit.h"
#include "framework/text.h"

namespace lumitrax {

TApplication& Application() {
  static TApplication application;
  return application;
}

void TrimWorkingSet() {
  ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

TApplication::TApplication() = default;

TApplication::~TApplication() {
  DestroyHandle();
  if (owns_icon_ && icon_) ::DestroyIcon(icon_);
}

void TApplication::Initialize() { Handle(); }

void TApplication::CreateParams(TCreateParams& params) {
  TWindow::CreateParams(params);
  params.class_name = L"TApplication";
  params.caption = title_;
  params.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
  params.x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
  params.y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
  params.width = 0;
  params.height = 0;
}

void TApplication::SetTitle(const std::wstring& title) {
  title_ = title;
  if (HandleAllocated()) ::SetWindowTextW(Handle(), title_.c_str());
}

void TApplication::SetIcon(HICON icon) {
  if (owns_icon_ && icon_) ::DestroyIcon(icon_);
  icon_ = icon;
  owns_icon_ = false;
  if (HandleAllocated()) {
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
}

void TApplication::LoadIconResource(const wchar_t* name) {
  // The shared icon of the default size; the system keeps the other sizes of
  // the group for LoadIconWithScaleDown and image lists.
  SetIcon(::LoadIconW(::GetModuleHandleW(nullptr), name));
}

void TApplication::SetHidden(bool hidden) {
  const HWND window = Handle();
  LONG_PTR ex_style = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (hidden) {
    if (::IsWindowVisible(window)) ::ShowWindow(window, SW_HIDE);
    ex_style = (ex_style & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW)) | WS_EX_TOOLWINDOW;
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, ex_style);
  } else {
    ex_style = (ex_style & ~static_cast<LONG_PTR>(WS_EX_TOOLWINDOW)) | WS_EX_APPWINDOW;
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, ex_style);
    ::ShowWindow(window, SW_SHOWNORMAL);
  }
}

LRESULT TApplication::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      if (MainForm) MainForm->Close();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    default:
      return TWindow::WndProc(message, wparam, lparam);
  }
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  DispatchOne(msg);
  return true;
}

void TApplication::DispatchOne(MSG& msg) {
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return;
  }
  bool handled = false;
  if (OnMessage) {
    try {
      OnMessage(msg, handled);
    } catch (const std::exception& error) {
      HandleException(error);
      handled = true;
    } catch (...) {
      FatalError("the message filter", "an exception that is not a std::exception escaped");
    }
  }
  if (handled) return;
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd) {
    // Key preview and dialog keys of the top-level window the key is for.
    const HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    if (TWindow* window = TWindow::FromHandle(root)) {
      bool consumed = false;
      try {
        consumed = window->PreviewKeyMessage(msg) ||
                   (window->WantsDialogKeys() && ::IsDialogMessageW(root, &msg));
      } catch (const std::exception& error) {
        HandleException(error);
        consumed = true;
      } catch (...) {
        FatalError("the key preview", "an exception that is not a std::exception escaped");
      }
      if (consumed) return;
    }
  }
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

void TApplication::HandleMessage() {
  // One blocking fetch: under Wine a peek followed by a wait costs the idle
  // program one more round trip to the server on every timer tick.
  MSG msg{};
  const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
  if (got < 0) return;
  if (got == 0) {
    terminated_ = true;
    return;
  }
  DispatchOne(msg);
}

void TApplication::ProcessMessages() {
  MSG msg{};
  while (ProcessMessage(msg)) {
  }
}

void TApplication::Run() {
  while (!terminated_) HandleMessage();
}

int TApplication::RunMainForm(const std::function<std::unique_ptr<TForm>()>& create) {
  std::unique_ptr<TForm> form;
  {
    main_form_pending_ = true;
    const ScopeExit creation_over([this] { main_form_pending_ = false; });
    try {
      form = create();
    } catch (const std::exception& error) {
      ReportException("the creation of the main window", error);
      return 1;
    } catch (...) {
      FatalError("the creation of the main window", "an exception that is not a std::exception escaped");
    }
  }
  MainForm = form.get();
  Run();
  MainForm = nullptr;
  return 0;
}

void TApplication::ModalLoop(const std::function<bool()>& done) {
  while (!terminated_ && !done()) HandleMessage();
}

void TApplication::FormConstructed(TForm& form) noexcept {
  if (!main_form_pending_) return;
  main_form_pending_ = false;
  MainForm = &form;
}

void TApplication::Terminate() { ::PostQuitMessage(0); }

void TApplication::HandleException(const std::exception& error) {
  if (session_ending_) {
    ::OutputDebugStringW((title_ + L": " + Widen(error.what()) + L"\n").c_str());
    return;
  }
  if (OnException) {
    OnException(error);
    return;
  }
  ShowException(error);
}

void TApplication::ShowException(const std::exception& error) {
  // One box per distinct message: a handler that fails on every timer tick
  // must not pile up boxes while the first one waits for the user.
  const std::string text = error.what();
  if (!errors_showing_.insert(text).second) return;
  HWND owner = ::GetActiveWindow();
  if (!owner) owner = HandleAllocated() ? Handle() : nullptr;
  ::MessageBoxW(owner, Widen(text).c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
  errors_showing_.erase(text);
}

}  // namespace lumitrax
