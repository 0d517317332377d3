#pragma once
// The single-instance guard: one running instance per identity. A second start
// finds the first one's mutex owned, activates the first instance, posts it
// WM_ACTIVATEINSTANCE and ends.
#include <windows.h>

#include <string>

#include "core/instance_identity.h"
#include "framework/handles.h"
#include "framework/window.h"

namespace lumitrax {

using core::TPerformChecking;

// Posted by a second instance to the running instance's application window.
constexpr UINT WM_ACTIVATEINSTANCE = 35557;

// How a message reaches the running instance; tests replace it to make
// Windows refuse it, as it does when the running instance has more rights.
using TPostMessage = BOOL(WINAPI*)(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
extern TPostMessage PostToInstance;

class TOneInstance : public TComponent {
 public:
  TOneInstance() = default;
  // Gives up the instance mutex, so another instance may start.
  ~TOneInstance() override;

  // On finding another instance: activate it and post it WM_ACTIVATEINSTANCE.
  bool ActivatePrevInstance = true;
  TPerformChecking PerformChecking = TPerformChecking::pcGlobal;
  // The executable's short path in upper case instead of the application title.
  bool ExeNameAsIdentifier = false;
  // A message before handing over: OnShowMessage, or a box with Message.
  bool ShowMessage = false;
  TNotifyEvent OnShowMessage;
  std::wstring Message;
  // Appended to the identity.
  std::wstring Identifier;
  // The running instance refused the hand-over; unset: a message box says so.
  TNotifyEvent OnHandOverRefused;

  // Whether another instance with this identity runs. The first check of a
  // process that finds none makes this thread the owner of the instance
  // mutex; later checks on this thread find it free again.
  virtual bool InstanceExists();
  // Run when the owning form has been loaded: true when another instance
  // runs, in which case it was handed over to and this application ends.
  virtual bool CheckInstance();
  // The other instance's application window, or none.
  HWND FindPrevInstanceWindow() const;

  bool Terminating() const noexcept { return FTerminate; }

 private:
  std::string Identity() const;
  void HandOver();

  bool FTerminate = false;
  // The "Default" mutex and how often this thread acquired it.
  std::string mutex_name_;
  UniqueMutex FInstanceMutex;
  int owned_count_ = 0;
};

}  // namespace lumitrax
