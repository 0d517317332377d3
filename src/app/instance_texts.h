#pragma once
// The texts a second start and "/exit" show when the running instance refuses
// their message (it runs with other rights, for example as administrator, and
// Windows drops messages from programs with fewer rights).

namespace lumitrax {

inline constexpr wchar_t kHandOverRefusedText[] =
    L"Lumitrax is already running, but with other rights (for example as administrator), and could not be "
    L"asked to show its window.\r\n\r\nUse its icon in the notification area, or close it there and start "
    L"Lumitrax again.";

inline constexpr char kExitRefusedText[] =
    "Lumitrax is running with other rights (for example as administrator) and could not be asked to close. "
    "Close it with Close in the menu of its icon in the notification area.\r\n";

}  // namespace lumitrax
