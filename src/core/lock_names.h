#pragma once
// The lock tables: which key switches a lock, and the words that name locks
// and their states in the on-screen display and the usage ping.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/lock_kind.h"

namespace lumitrax::core {

// Indexed by LockKind; entry 0 (no lock) is a placeholder that is never used.
inline constexpr std::array<uint8_t, 4> LockVirtualKeys{0, 0x90, 0x14, 0x91};  // VK_NUMLOCK, VK_CAPITAL, VK_SCROLL
inline constexpr std::array<uint8_t, 4> LockScanCodes{0, 0x45, 0x3A, 0x46};
inline constexpr std::array<std::string_view, 4> LockNames{"Some", "Num", "Caps", "Scroll"};
// Indexed by a Boolean state.
inline constexpr std::array<std::string_view, 2> StateNames{"Off", "On"};

// The LockKind that a control's Tag names; None for anything outside 1..3.
LockKind LockKindFromTag(int tag);

// Checked lookups: None (or an out-of-range value) gives 0, resp. "Some".
uint8_t LockVirtualKey(LockKind kind);
uint8_t LockScanCode(LockKind kind);
std::string_view LockName(LockKind kind);
std::string_view StateName(bool on);

// Whether a virtual-key code is one of the three lock keys (what the keyboard hook watches).
bool IsLockVirtualKey(uint32_t virtualKey);

}  // namespace lumitrax::core
