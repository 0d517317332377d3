#include "indicator/lock_state.h"

#include <windows.h>

#include "core/lock_names.h"

namespace lumitrax {

bool GetLockState(core::LockKind kind) {
  const uint8_t key = core::LockVirtualKey(kind);
  if (key == 0) return false;
  return (::GetKeyState(key) & 1) != 0;
}

bool GetLockState(int kind) { return GetLockState(core::LockKindFromTag(kind)); }

}  // namespace lumitrax
