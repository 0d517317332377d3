#include "core/start_switch.h"

namespace lumitrax::core {
namespace {

bool IsExitSwitch(std::wstring_view argument) {
  if (argument.size() != 5 || (argument[0] != L'/' && argument[0] != L'-')) return false;
  constexpr std::wstring_view kExit = L"exit";
  for (size_t i = 0; i < kExit.size(); ++i) {
    wchar_t c = argument[i + 1];
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    if (c != kExit[i]) return false;
  }
  return true;
}

}  // namespace

StartRequest ParseStartSwitches(const std::vector<std::wstring_view>& arguments) {
  for (const std::wstring_view argument : arguments)
    if (IsExitSwitch(argument)) return StartRequest::ExitRunningInstance;
  return StartRequest::Run;
}

}  // namespace lumitrax::core
