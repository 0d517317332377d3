#pragma once
// The application object: title, icon, the hidden application window that owns
// every form and dialog of the program, and the message loop with its filter.
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "framework/window.h"

namespace lumitrax {

class TForm;

class TApplication : public TWindow {
 public:
  // Every message the program's loops take from the queue passes this filter
  // before it is translated and dispatched; setting Handled stops it.
  using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
  using TExceptionEvent = std::function<void(const std::exception& error)>;

  TApplication();
  ~TApplication() override;

  // Creates the hidden application window of class "TApplication".
  void Initialize();

  const std::wstring& Title() const noexcept { return title_; }
  void SetTitle(const std::wstring& title);
  HICON Icon() const noexcept { return icon_; }
  void SetIcon(HICON icon);
  // Loads the group icon of that name from the program's own module.
  void LoadIconResource(const wchar_t* name);

  TMessageEvent OnMessage;
  // When set, receives escaped exceptions instead of the default error box.
  TExceptionEvent OnException;

  // Without a taskbar button: hides the application window and gives it the
  // tool-window style; false restores the button.
  void SetHidden(bool hidden);

  // The main form: closing it terminates the application. The first form
  // constructed inside RunMainForm's create is the main form from its first
  // moment, so that a close while it is still being built (a session end
  // handled by a nested message loop of the start-up) ends the program too.
  TForm* MainForm = nullptr;
  // Called by every form's constructor.
  void FormConstructed(TForm& form) noexcept;

  void Run();
  // Creates the main form and runs the message loop until the program ends.
  // A std::exception while the form is created is shown in the error box and
  // gives a non-zero exit code (anything else ends the program at once).
  int RunMainForm(const std::function<std::unique_ptr<TForm>()>& create);
  // Takes one message from the queue and handles it, or waits for one.
  void HandleMessage();
  // Handles every message that is waiting, then returns.
  void ProcessMessages();
  // Runs a modal loop until done() says so or the application terminates.
  void ModalLoop(const std::function<bool()>& done);
  void Terminate();
  bool Terminated() const noexcept { return terminated_; }

  // While Windows ends the session nothing may wait for the user: errors go
  // to the debugger's output instead of the error box (or OnException).
  bool SessionEnding() const noexcept { return session_ending_; }
  void SetSessionEnding(bool ending) noexcept { session_ending_ = ending; }

  // The default error box: shows the message text; the program runs on.
  void HandleException(const std::exception& error);
  void ShowException(const std::exception& error);

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  bool ProcessMessage(MSG& msg);
  void DispatchOne(MSG& msg);

  std::wstring title_;
  HICON icon_ = nullptr;
  bool owns_icon_ = false;
  bool terminated_ = false;
  bool session_ending_ = false;
  bool main_form_pending_ = false;  // inside RunMainForm's create, before the first form
  std::set<std::string> errors_showing_;
};

// The one application object of the process.
TApplication& Application();

// Gives the process's unused pages back to the system.
void TrimWorkingSet();

}  // namespace lumitrax
