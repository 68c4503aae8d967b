// The restart lock as a named mutex in the global namespace, so that every
// session's programs, the window run elevated as much as the console run
// as SYSTEM by a management agent, share one.
#pragma once

#include "platform/restart_lock.h"
#include "platform/win32/win_util.h"

namespace qv {

class Win32RestartLock : public IRestartLock {
 public:
  static constexpr const wchar_t* kName = L"Global\\QuorvinConfigSpoolerRestart";
  // Opens or creates the mutex at the first attempt; it stays open for
  // the program's life.
  LockAttempt TryAcquire(std::uint32_t sliceMs) override;
  void Release() override;

 private:
  win32::UniqueHandle mutex_;
};

}  // namespace qv
