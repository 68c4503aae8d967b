#include "platform/win32/win_restart_lock.h"

#include <sddl.h>
#include <windows.h>

namespace qv {
namespace {

// Full access for SYSTEM and the Administrators group, and for no one else:
// whichever of them creates the mutex, the other can open it.
constexpr const wchar_t* kAccess = L"D:(A;;GA;;;SY)(A;;GA;;;BA)";

LockAttempt Failure(DWORD code) {
  if (code == ERROR_ACCESS_DENIED) return {LockResult::AccessDenied, ""};
  return {LockResult::Failed, win32::SystemErrorText(code)};
}

}  // namespace

LockAttempt Win32RestartLock::TryAcquire(std::uint32_t sliceMs) {
  if (!mutex_) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kAccess, SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
      return Failure(GetLastError());
    }
    const std::unique_ptr<void, win32::Closer<LocalFree>> owner(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    mutex_.reset(CreateMutexExW(&attributes, kName, 0, SYNCHRONIZE | MUTEX_MODIFY_STATE));
    if (!mutex_) return Failure(GetLastError());
  }
  switch (WaitForSingleObject(mutex_.get(), sliceMs)) {
    case WAIT_OBJECT_0:
      return {LockResult::Acquired, ""};
    case WAIT_ABANDONED:
      return {LockResult::TakenOver, ""};
    case WAIT_TIMEOUT:
      return {LockResult::Busy, ""};
    default:
      return Failure(GetLastError());
  }
}

void Win32RestartLock::Release() {
  ReleaseMutex(mutex_.get());
}

}  // namespace qv
