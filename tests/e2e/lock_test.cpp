// One spooler restart at a time on the machine: two attach runs started
// together both succeed; a restart lock held here makes attach give up
// after its --timeout and leave the spooler alone; released, or left by a
// process that was killed, it is taken.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "harness.h"

namespace {

constexpr const wchar_t* kLockName = L"Global\\QuorvinConfigSpoolerRestart";
const std::string kPrintersKey = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
const std::string kAttached =
    "Processes complete.  The printer should now appear in your Monitored Printers list.\n";

struct Outcome {
  int code = -1;
  std::string out, err;
  ULONGLONG ms = 0;
};

Outcome Command(const std::string& arguments) {
  Outcome run;
  const ULONGLONG start = GetTickCount64();
  run.code = e2e::RunProgram("\"" + e2e::ToolFolder() + "QuorvinConfigCmd.exe\" " + arguments,
                             &run.out, &run.err);
  run.ms = GetTickCount64() - start;
  for (std::string* text : {&run.out, &run.err}) {
    text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
  }
  std::printf("%s: exit %d after %llu ms\n  out: %s  err: %s\n", arguments.c_str(), run.code,
              run.ms, run.out.c_str(), run.err.c_str());
  return run;
}

// The lines the stand-in NET has logged since the log was last emptied,
// without their process ids.
std::vector<std::string> NetCalls(const std::string& log) {
  std::vector<std::string> calls;
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) calls.push_back(line.substr(line.find(' ') + 1));
  return calls;
}

class Lock : public e2e::ToolTest {
 protected:
  Lock() : ToolTest(Launch::kNone) {}
};

// With Wine's own NET, as a fleet engine and an administrator might.
TEST_F(Lock, TwoAttachRunsStartedTogetherBothSucceed) {
  Outcome office, studio;
  std::thread first([&] { office = Command("attach Office_PS"); });
  std::thread second([&] { studio = Command("attach Studio_PS"); });
  first.join();
  second.join();
  EXPECT_EQ(office.code, 0) << office.err;
  EXPECT_EQ(studio.code, 0) << studio.err;
  EXPECT_EQ(office.out, kAttached);
  EXPECT_EQ(studio.out, kAttached);
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "Office_PS", "Port").data, "QuorvinPDF:");
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "Studio_PS", "Port").data, "QuorvinPDF:");
}

// Run by the test below as a process of its own: takes the restart lock
// and sleeps until it is killed.
TEST(LockHolder, HoldsTheRestartLockUntilKilled) {
  if (std::getenv("QV_HOLD_RESTART_LOCK") == nullptr) GTEST_SKIP() << "started by Lock.*";
  ASSERT_NE(CreateMutexW(nullptr, TRUE, kLockName), nullptr);
  Sleep(INFINITE);
}

// Last in its world: the system's net.exe becomes the stand-in, which logs
// each call and stops or starts the spooler as NET does.
TEST_F(Lock, AHeldLockMakesAttachWaitAndAnAbandonedOneIsTakenOver) {
  e2e::ReplaceSystemNet();
  const std::string log = "C:\\net-calls.txt";
  SetEnvironmentVariableA("QV_STANDIN_LOG", log.c_str());  // passed on to NET
  const std::string office = kPrintersKey + "Office_PS";
  const std::vector<std::string> restart = {"STOP SPOOLER", "START SPOOLER"};

  // Held here: attach waits its two seconds, gives up, starts no NET.
  e2e::RegAdd(office, "Port", "REG_SZ", "CUPS:Office_PS");
  HANDLE held = CreateMutexW(nullptr, TRUE, kLockName);
  ASSERT_NE(held, nullptr);
  Outcome run = Command("attach Office_PS --timeout 2");
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err,
            "Another restart of the print spooler is in progress; the print spooler was not "
            "restarted, so the change may not have taken effect.\n");
  EXPECT_TRUE(run.out.empty());
  EXPECT_GE(run.ms, 2000u);
  EXPECT_LT(run.ms, 8000u);
  EXPECT_TRUE(NetCalls(log).empty());

  // Released: the same attach restarts the spooler. (Wine's spooler reports
  // the registry's Port at once, so the Port written above would make it
  // converged; put back, the restart path runs as on Windows, where the
  // port takes effect only with the restart.)
  ReleaseMutex(held);
  CloseHandle(held);
  e2e::RegAdd(office, "Port", "REG_SZ", "CUPS:Office_PS");
  run = Command("attach Office_PS --timeout 20");
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, kAttached);
  EXPECT_EQ(NetCalls(log), restart);
  DeleteFileA(log.c_str());

  // Held by a process that is then killed: taken over, and the restart runs.
  e2e::RegAdd(office, "Port", "REG_SZ", "CUPS:Office_PS");
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(self) + L"\" --gtest_filter=LockHolder.*";
  SetEnvironmentVariableA("QV_HOLD_RESTART_LOCK", "1");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION holder{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                             nullptr, nullptr, &startup, &holder));
  SetEnvironmentVariableA("QV_HOLD_RESTART_LOCK", nullptr);
  CloseHandle(holder.hThread);
  bool holds = false;
  for (int i = 0; i < 300 && !holds; ++i) {
    if (HANDLE lock = OpenMutexW(SYNCHRONIZE, FALSE, kLockName)) {
      holds = WaitForSingleObject(lock, 0) == WAIT_TIMEOUT;
      CloseHandle(lock);  // never acquired: the holder creates it owned
    }
    if (!holds) Sleep(100);
  }
  ASSERT_TRUE(holds) << "the holder did not take the lock";
  TerminateProcess(holder.hProcess, 9);
  WaitForSingleObject(holder.hProcess, 10000);
  CloseHandle(holder.hProcess);
  run = Command("attach Office_PS --timeout 20");
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, kAttached);
  EXPECT_EQ(NetCalls(log), restart);
  SetEnvironmentVariableA("QV_STANDIN_LOG", nullptr);
}

}  // namespace
