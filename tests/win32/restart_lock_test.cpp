// The restart lock's named mutex: another holder makes the attempt wait, a
// holder that ends without releasing it hands it over, and it is made with
// access for SYSTEM and the Administrators group only.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
// clang-format on

#include <thread>

#include "platform/win32/win_restart_lock.h"

namespace qv::testing {
namespace {

// A mutex belongs to a thread: the other holder runs on one of its own.
TEST(Win32RestartLock, WaitsForTheHolderAndTakesOverFromOneThatEnded) {
  Win32RestartLock mine;
  ASSERT_EQ(mine.TryAcquire(0).result, LockResult::Acquired);
  LockResult whileHeld = LockResult::Acquired, afterRelease = LockResult::Busy;
  const HANDLE released = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread other([&] {
    Win32RestartLock theirs;
    whileHeld = theirs.TryAcquire(20).result;
    SetEvent(released);
    afterRelease = theirs.TryAcquire(5000).result;
    // The thread ends holding it, as a killed program would.
  });
  WaitForSingleObject(released, 5000);
  mine.Release();
  other.join();
  CloseHandle(released);
  EXPECT_EQ(whileHeld, LockResult::Busy);
  EXPECT_EQ(afterRelease, LockResult::Acquired);
  EXPECT_EQ(mine.TryAcquire(1000).result, LockResult::TakenOver);
  mine.Release();
  EXPECT_EQ(mine.TryAcquire(0).result, LockResult::Acquired);
  mine.Release();
}

TEST(Win32RestartLock, TheMutexGrantsSystemAndAdministratorsOnly) {
  Win32RestartLock lock;
  ASSERT_EQ(lock.TryAcquire(0).result, LockResult::Acquired);
  const HANDLE mutex = OpenMutexW(READ_CONTROL, FALSE, Win32RestartLock::kName);
  ASSERT_NE(mutex, nullptr);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetSecurityInfo(mutex, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                            nullptr, nullptr, &descriptor),
            static_cast<DWORD>(ERROR_SUCCESS));
  wchar_t* text = nullptr;
  ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(
      descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr));
  const std::wstring dacl = text;
  LocalFree(text);
  LocalFree(descriptor);
  CloseHandle(mutex);
  lock.Release();
  EXPECT_EQ(dacl.find(L";;;WD)"), std::wstring::npos) << "everyone has access";
  EXPECT_NE(dacl.find(L";;;SY)"), std::wstring::npos);
  EXPECT_NE(dacl.find(L";;;BA)"), std::wstring::npos);
  EXPECT_EQ(dacl.find(L";;;", dacl.find(L";;;", dacl.find(L";;;") + 1) + 1), std::wstring::npos)
      << "more than two entries";
}

}  // namespace
}  // namespace qv::testing
