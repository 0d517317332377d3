#pragma once
#include "core/lock_kind.h"

namespace lumitrax {

// The toggle state of a lock as this thread's key state has it; false for
// anything but Num, Caps and Scroll Lock. The only way the program reads a lock.
bool GetLockState(core::LockKind kind);
bool GetLockState(int kind);

}  // namespace lumitrax
