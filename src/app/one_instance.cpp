#include "app/one_instance.h"

#include <array>

#include "app/instance_texts.h"
#include "framework/application.h"
#include "framework/text.h"
#include "framework/version_info.h"

namespace lumitrax {
namespace {

std::string UserName() {
  std::array<wchar_t, 261> name{};
  DWORD length = static_cast<DWORD>(name.size());
  if (!::GetUserNameW(name.data(), &length)) return {};
  return Narrow(name.data());
}

std::string UpperShortModulePath() {
  const std::wstring path = GetModulePath();
  std::wstring short_path(MAX_PATH, L'\0');
  DWORD length = ::GetShortPathNameW(path.c_str(), short_path.data(), static_cast<DWORD>(short_path.size()));
  if (length >= short_path.size()) {
    short_path.resize(length);
    length = ::GetShortPathNameW(path.c_str(), short_path.data(), static_cast<DWORD>(short_path.size()));
  }
  short_path.resize(length < short_path.size() ? length : 0);
  if (short_path.empty()) short_path = path;
  ::CharUpperBuffW(short_path.data(), static_cast<DWORD>(short_path.size()));
  return Narrow(short_path);
}

}  // namespace

TPostMessage PostToInstance = &::PostMessageW;

TOneInstance::~TOneInstance() {
  for (; owned_count_ > 0; --owned_count_) ::ReleaseMutex(FInstanceMutex.get());
}

std::string TOneInstance::Identity() const {
  const std::string name = ExeNameAsIdentifier ? UpperShortModulePath() : Narrow(Application().Title());
  return core::InstanceIdentity(PerformChecking, PerformChecking == TPerformChecking::pcForCurrentUserOnly
                                                     ? UserName() : std::string(),
                                name, Narrow(Identifier));
}

bool TOneInstance::InstanceExists() {
  const std::string identity = Identity();
  // Held while checking: of two instances starting at the same moment, the
  // one that finds the other in the middle of its check counts as the duplicate.
  ::SetLastError(ERROR_SUCCESS);
  UniqueMutex checking(::CreateMutexW(nullptr, TRUE, Widen(core::CriticalSectionMutexName(identity)).c_str()));
  if (!checking || ::GetLastError() != ERROR_SUCCESS) return true;

  const std::string name = core::DefaultMutexName(identity);
  if (name != mutex_name_) {
    for (; owned_count_ > 0; --owned_count_) ::ReleaseMutex(FInstanceMutex.get());
    FInstanceMutex.reset(::CreateMutexW(nullptr, FALSE, Widen(name).c_str()));
    mutex_name_ = name;
  }
  // A mutex left behind by an instance that was killed is abandoned; taking
  // it over makes this the running instance.
  const DWORD wait = ::WaitForSingleObject(FInstanceMutex.get(), 0);
  if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ++owned_count_;
  ::ReleaseMutex(checking.get());
  return wait == WAIT_TIMEOUT;
}

bool TOneInstance::CheckInstance() {
  if (!InstanceExists()) return false;
  FTerminate = true;
  if (ShowMessage) {
    if (OnShowMessage)
      OnShowMessage(*this);
    else
      ::MessageBoxW(nullptr, Message.c_str(), Application().Title().c_str(), MB_OK | MB_ICONINFORMATION);
  }
  if (ActivatePrevInstance) HandOver();
  Application().Terminate();
  return true;
}

HWND TOneInstance::FindPrevInstanceWindow() const {
  const HWND own = Application().HandleAllocated() ? Application().Handle() : nullptr;
  HWND found = nullptr;
  do {
    found = ::FindWindowExW(nullptr, found, L"TApplication", Application().Title().c_str());
  } while (found && found == own);
  return found;
}

void TOneInstance::HandOver() {
  const HWND other = FindPrevInstanceWindow();
  // Without a window there is nobody to post to: a message posted to no
  // window would come back to this instance.
  if (!::IsWindow(other)) return;
  if (::IsIconic(other))
    ::OpenIcon(other);
  else
    ::SetForegroundWindow(other);
  if (PostToInstance(other, WM_ACTIVATEINSTANCE, reinterpret_cast<WPARAM>(Application().Handle()),
                     reinterpret_cast<LPARAM>(::GetModuleHandleW(nullptr))))
    return;
  if (::GetLastError() != ERROR_ACCESS_DENIED) return;
  // Refused: the running instance has more rights than this one. Ending
  // without a word would look as if the start did nothing.
  if (OnHandOverRefused)
    OnHandOverRefused(*this);
  else
    ::MessageBoxW(nullptr, HandOverRefusedText().c_str(), Application().Title().c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace lumitrax
