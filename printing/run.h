// Running a program hidden and waiting for it to end. How the wait passes
// is the caller's: the window answers its messages meanwhile, the console
// has a time limit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace qv {

class IWaitPolicy {
 public:
  virtual ~IWaitPolicy() = default;
  // While the shell starts a program, and after every slice of the wait.
  virtual void Idle() = 0;
  // A wait begins: a program has started, or another restart of the
  // spooler holds the lock; the slices of that wait follow.
  virtual void Started() {}
  // After every slice of the wait for program ("FILE PARAMETERS"), waitedMs
  // after its start: false gives the program up, which is left running.
  virtual bool KeepWaiting(const std::string& program, std::uint64_t waitedMs) = 0;
  // After every slice of the wait for another restart of the spooler to
  // give back its lock, waitedMs after the wait began: false gives up, and
  // nothing is restarted. A wait of its own, as long as a program's.
  virtual bool KeepWaitingForLock(std::uint64_t waitedMs) {
    return KeepWaiting("the print spooler's restart by another program", waitedMs);
  }
  // A program that could not be started: the system's text for the error.
  virtual void NotStarted(const std::string& systemText) = 0;
  // Lets ms pass between two questions to the service manager; the window
  // keeps answering meanwhile.
  virtual void Pause(std::uint32_t ms) = 0;
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
// ends, asking the policy after each slice. A program that has ended by
// the time the policy gives it up counts as ended.
// The program's text is shown in the code page; it starts through the wide
// API, with utf8Parameters in place of parameters when given.
RunOutcome RunAndWait(Platform& platform, IWaitPolicy& policy, const std::string& file,
                      const std::string& parameters,
                      const std::optional<std::string>& utf8Parameters = std::nullopt);

}  // namespace qv
