// Running a program hidden and waiting for it to end. How the wait passes
// is the caller's: the window answers its messages meanwhile, the console
// has a time limit.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace qv {

class IWaitPolicy {
 public:
  virtual ~IWaitPolicy() = default;
  // While the shell starts a program, and after every slice of the wait.
  virtual void Idle() = 0;
  // After every slice of the wait for program ("FILE PARAMETERS"), waitedMs
  // after its start: false gives the program up, which is left running.
  virtual bool KeepWaiting(const std::string& program, std::uint64_t waitedMs) = 0;
  // A program that could not be started: the system's text for the error.
  virtual void NotStarted(const std::string& systemText) = 0;
};

enum class RunResult {
  Ended,       // the program ran and has ended (or gave nothing to wait for)
  NotStarted,  // the shell could not start it
  Abandoned,   // given up while it still runs
};
struct RunOutcome {
  RunResult result = RunResult::Ended;
  // NotStarted: the system's text; Abandoned: StillRunningText.
  std::string text;
};

// "\"PROGRAM\" did not finish within N seconds; it is still running."
std::string StillRunningText(const std::string& program, std::uint64_t seconds);

// Starts file with parameters hidden and waits in slices of 50 ms until it
// ends, asking the policy after each slice.
RunOutcome RunAndWait(Platform& platform, IWaitPolicy& policy, const std::string& file,
                      const std::string& parameters);

}  // namespace qv
