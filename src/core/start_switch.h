#pragma once
// What the program's command line asks for. Only one switch is known: "/exit"
// (or "-exit", in any letter case) asks the running instance to quit. Anything
// else is a normal start.
#include <string>
#include <string_view>
#include <vector>

namespace lumitrax::core {

enum class StartRequest { Run, ExitRunningInstance };

// The arguments after the program's own path.
StartRequest ParseStartSwitches(const std::vector<std::wstring_view>& arguments);

}  // namespace lumitrax::core
