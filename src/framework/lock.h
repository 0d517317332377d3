#pragma once
// A lock between WinINet's threads and the GUI thread: a slim reader/writer
// lock used exclusively, with lock() and unlock() so std::lock_guard takes it.
// It needs nothing of the C++ runtime's thread support.
#include <windows.h>

namespace lumitrax {

class TLock {
 public:
  TLock() = default;
  TLock(const TLock&) = delete;
  TLock& operator=(const TLock&) = delete;
  void lock() noexcept { ::AcquireSRWLockExclusive(&lock_); }
  void unlock() noexcept { ::ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
};

}  // namespace lumitrax
