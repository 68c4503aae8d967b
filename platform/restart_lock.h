// The machine-wide lock that lets one restart of the print spooler run at a
// time, whichever program, user or session starts it.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

enum class LockResult {
  Acquired,
  TakenOver,     // acquired from a holder that ended without releasing it
  Busy,          // another restart holds it still
  AccessDenied,  // the lock exists and this account may not use it
  Failed,        // systemText says why
};
struct LockAttempt {
  LockResult result = LockResult::Acquired;
  std::string systemText;  // Failed: the system's text for the error
};

class IRestartLock {
 public:
  virtual ~IRestartLock() = default;
  // Waits at most sliceMs for the lock.
  virtual LockAttempt TryAcquire(std::uint32_t sliceMs) = 0;
  // Gives back a lock that TryAcquire acquired or took over.
  virtual void Release() = 0;
};

// Holds the lock from the attempt that takes it to the end of its scope.
class RestartLockHolder {
 public:
  explicit RestartLockHolder(IRestartLock& lock) : lock_(lock) {}
  ~RestartLockHolder() {
    if (held_) lock_.Release();
  }
  RestartLockHolder(const RestartLockHolder&) = delete;
  RestartLockHolder& operator=(const RestartLockHolder&) = delete;

  LockAttempt TryAcquire(std::uint32_t sliceMs) {
    LockAttempt attempt = lock_.TryAcquire(sliceMs);
    held_ = attempt.result == LockResult::Acquired || attempt.result == LockResult::TakenOver;
    return attempt;
  }

 private:
  IRestartLock& lock_;
  bool held_ = false;
};

}  // namespace qv
