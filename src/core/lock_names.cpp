#include "core/lock_names.h"

namespace lumitrax::core {

namespace {

size_t IndexOf(LockKind kind) {
  const int value = static_cast<int>(kind);
  return value >= 1 && value <= 3 ? static_cast<size_t>(value) : 0;
}

}  // namespace

LockKind LockKindFromTag(int tag) {
  return tag >= 1 && tag <= 3 ? static_cast<LockKind>(tag) : LockKind::None;
}

uint8_t LockVirtualKey(LockKind kind) { return LockVirtualKeys[IndexOf(kind)]; }

uint8_t LockScanCode(LockKind kind) { return LockScanCodes[IndexOf(kind)]; }

std::string_view LockName(LockKind kind) { return LockNames[IndexOf(kind)]; }

std::string_view StateName(bool on) { return StateNames[on ? 1 : 0]; }

bool IsLockVirtualKey(uint32_t virtualKey) {
  for (size_t kind = 1; kind < LockVirtualKeys.size(); ++kind) {
    if (virtualKey == LockVirtualKeys[kind]) return true;
  }
  return false;
}

}  // namespace lumitrax::core
