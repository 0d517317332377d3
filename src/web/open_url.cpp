#include "web/open_url.h"

#include <windows.h>
#include <shellapi.h>

#include "core/links.h"
#include "framework/application.h"
#include "framework/text.h"
#include "framework/version_info.h"

namespace lumitrax {

void OpenURL(const std::string& address) {
  const std::wstring target = Widen(core::OpenUrlAddress(address));
  ::ShellExecuteW(Application().Handle(), L"open", target.c_str(), nullptr, nullptr, SW_SHOW);
}


}  // namespace lumitrax
