#include "indicator/overflow_hint.h"

#include <shellapi.h>

#include "core/registry_store.h"
#include "framework/application.h"
#include "framework/os_functions.h"
#include "framework/win_registry.h"

namespace lumitrax {

TOverflowHint::TOverflowHint(TTrayIcon& tray) : tray_(&tray) {
  OpenAddress = [](const std::wstring& address) {
    ::ShellExecuteW(Application().Handle(), L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
  tray_->OnBalloonClick = [this](TComponent&) { OpenAddress(kTaskbarSettingsPage); };
}

void TOverflowHint::ShowIfDue(const std::string& key) {
  if (!tray_->Registered() || os::WindowsBuild() < kWindows11Build) return;
  TWinRegistry registry;
  if (const auto stored = core::OpenKeyReadOnly(registry, core::HkeyCurrentUser, key)) {
    const auto shown = stored->ReadValue(kOverflowHintShownValue);
    // Any other value than 0 counts as shown: a damaged one must not bring the hint back each start.
    if (shown && *shown != core::RegistryValue::Dword(0)) return;
  }
  if (!tray_->ShowBalloon(Tr(T::OverflowHintTitle), Tr(T::OverflowHintText))) return;
  const auto writable = registry.CreateKey(core::HkeyCurrentUser, key);
  if (!writable) throw core::RegistryError::OpenKeyFailed(key);
  if (!writable->WriteValue(kOverflowHintShownValue, core::RegistryValue::Dword(1)))
    throw core::RegistryError::SetDataFailed(kOverflowHintShownValue);
}

}  // namespace lumitrax
