// Starting programs through the shell, waiting without blocking the
// window's messages, and the system's error texts.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <exdisp.h>
// clang-format on

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/win32/win_process.h"
#include "platform/win32/win_util.h"

namespace qv::testing {
namespace {

using Clock = std::chrono::steady_clock;

TEST(Win32Process, AMissingProgramFailsWithTheSystemText) {
  Win32ProcessRunner runner;
  ProcessHandle process = 123;
  std::uint32_t code = 0;
  EXPECT_FALSE(runner.StartHidden("qv-no-such-program.exe", "", &process, &code, nullptr));
  EXPECT_EQ(code, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(process, 0u);

  char raw[256] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 ERROR_FILE_NOT_FOUND, 0, raw, sizeof raw, nullptr);
  const std::string text = runner.SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(std::string(raw).rfind(text, 0), 0u) << "not a prefix of: " << raw;
  EXPECT_NE(text.back(), '.');
  EXPECT_GT(static_cast<unsigned char>(text.back()), ' ');
  EXPECT_EQ(runner.SystemErrorText(0x2FFFFFFF), "");  // no such code
}

TEST(Win32Process, AStartedProgramRunsHiddenWithItsParametersUntilItEnds) {
  Win32ProcessRunner runner;
  ProcessHandle process = 0;
  std::uint32_t code = 0;
  // A message waiting when the start begins is answered during the start,
  // not after it.
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
  int pumped = 0;
  const auto pump = [&] {
    ++pumped;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  };
  ASSERT_TRUE(runner.StartHidden("cmd", "/c exit 3", &process, &code, pump)) << code;
  EXPECT_GE(pumped, 1);
  ASSERT_NE(process, 0u);
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  WaitResult result = WaitResult::Woken;
  while (result == WaitResult::Woken && Clock::now() < deadline) {
    result = runner.WaitOrMessage(process, 50);
  }
  EXPECT_EQ(result, WaitResult::Ended);
  DWORD exitCode = 0;
  EXPECT_TRUE(GetExitCodeProcess(reinterpret_cast<HANDLE>(process), &exitCode));
  EXPECT_EQ(exitCode, 3u);
  runner.CloseProcess(process);
}

// Prints the elevation and FindWindowSW's answer for the desktop window. A
// link handed to the desktop's shell is taken exactly when a dispatch came
// back, and then reaches the program with its parameters and folder; the
// call leaves COM on this thread as it found it.
TEST(Win32Process, TheDesktopShellTakesALinkOrRefusesItCleanly) {
  const auto comState = [] {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(result)) CoUninitialize();
    return result;
  };
  const HRESULT comBefore = comState();
  HRESULT found = E_FAIL;
  bool dispatch = false;
  if (SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    {
      win32::ComRef<IShellWindows> windows;
      win32::ComRef<IDispatch> desktop;
      VARIANT none{};  // VT_EMPTY
      long window = 0;
      if (SUCCEEDED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL,
                                     IID_PPV_ARGS(windows.Put())))) {
        found = windows->FindWindowSW(&none, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                                      desktop.Put());
      }
      dispatch = static_cast<bool>(desktop);
    }
    CoUninitialize();
  }
  char temp[MAX_PATH] = {};
  ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
  const std::string written = std::string(temp) + "qv-desktop-link.txt";
  DeleteFileA(written.c_str());
  Win32ProcessRunner runner;
  const bool taken =
      runner.OpenAsDesktopUser({"open", "cmd", "/c echo x> qv-desktop-link.txt", temp, SW_HIDE});
  EXPECT_EQ(comState(), comBefore);
  std::printf("IsElevated %d; FindWindowSW 0x%08lX, dispatch %d; OpenAsDesktopUser %d\n",
              runner.IsElevated(), static_cast<unsigned long>(found), dispatch, taken);
  EXPECT_EQ(taken, dispatch);
  const auto exists = [&] {
    return GetFileAttributesA(written.c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  for (int i = 0; taken && !exists() && i < 200; ++i) Sleep(100);
  EXPECT_EQ(exists(), taken) << "the shell's program did not write its file";
  DeleteFileA(written.c_str());
}

class Win32Wait : public ::testing::Test {
 protected:
  void SetUp() override {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread a queue
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    event_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event_);
  }
  ProcessHandle Handle() const { return reinterpret_cast<ProcessHandle>(event_.get()); }
  win32::UniqueHandle event_;
  Win32ProcessRunner runner_;
};

TEST_F(Win32Wait, AMessageWakesTheWaitEarly) {
  const DWORD self = GetCurrentThreadId();
  std::thread poster([self] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    PostThreadMessageA(self, WM_USER, 0, 0);
  });
  const auto start = Clock::now();
  const WaitResult result = runner_.WaitOrMessage(Handle(), 20000);
  poster.join();
  EXPECT_EQ(result, WaitResult::Woken);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));

  // A message still waiting in the queue wakes the next wait at once.
  const auto again = Clock::now();
  EXPECT_EQ(runner_.WaitOrMessage(Handle(), 20000), WaitResult::Woken);
  EXPECT_LT(Clock::now() - again, std::chrono::seconds(5));
}

TEST_F(Win32Wait, TheWaitEndsAtTheTimeoutOrWhenTheHandleIsSignalled) {
  const auto start = Clock::now();
  EXPECT_EQ(runner_.WaitOrMessage(Handle(), 60), WaitResult::Woken);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(40));
  SetEvent(event_.get());
  EXPECT_EQ(runner_.WaitOrMessage(Handle(), 20000), WaitResult::Ended);
  EXPECT_EQ(runner_.WaitOrMessage(0x7FFF0000, 50), WaitResult::Failed);
}

}  // namespace
}  // namespace qv::testing
