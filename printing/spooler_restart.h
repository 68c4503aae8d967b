// Restarting the print spooler so that a printer's new port takes effect,
// with the services that depend on it stopped first and started again
// after, so that NET never asks a question no one can answer. One restart
// runs at a time on the machine: the others wait for it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "printing/run.h"

namespace qv {

constexpr const char* kSpoolerNotStoppedText =
    "The print spooler could not be stopped, so the change has not taken effect.";
constexpr const char* kSpoolerNotStartedText = "The print spooler could not be started again.";
std::string DependentNotStartedText(const std::string& displayName);
std::string PortNotReportedText(const std::string& printer);
constexpr const char* kRestartInProgressText =
    "Another restart of the print spooler is in progress; the print spooler was not restarted, "
    "so the change may not have taken effect.";
constexpr const char* kRestartLockDeniedText =
    "Access to the lock that keeps restarts of the print spooler apart was denied, so the print "
    "spooler was not restarted.";
std::string RestartLockFailedText(const std::string& systemText);
// The same for a port other than the PDF port (detach).
std::string PortNotRestoredText(const std::string& printer, const std::string& port);

enum class RestartResult {
  Restarted,
  DependentNotStarted,  // restarted, but a dependent service did not start again
  NotStopped,           // the change has not taken effect
  NotStartedAgain,      // the spooler is not running
  PortNotReported,      // restarted, but the spooler reports another port
  Abandoned,            // a program did not finish in time; nothing more was started
  ProgramNotStarted,    // NET could not be started; the wait has told it
  OtherRestartRunning,  // the wait for another restart was given up; nothing was restarted
  LockNotTaken,         // the lock was refused or failed; nothing was restarted
};
struct RestartOutcome {
  RestartResult result = RestartResult::Restarted;
  std::string text;  // what went wrong, for every result but Restarted
  // Restarted by the restart this one waited for, which brought the
  // printer onto the expected port: nothing was restarted here.
  bool byOtherRestart = false;
  // The change is in effect: the printer feeds the PDF port.
  bool InEffect() const {
    return result == RestartResult::Restarted || result == RestartResult::DependentNotStarted;
  }
};

// The slice of the wait for another restart's lock, after each of which the
// wait policy is asked.
constexpr std::uint32_t kLockSliceMs = 50;
// How long the restart waits for each state, asking every kRestartPollMs.
constexpr std::uint32_t kRestartPollMs = 250;
constexpr std::uint32_t kDependentWaitMs = 30000;  // each dependent service, stopping or starting
constexpr std::uint32_t kSpoolerWaitMs = 60000;    // the spooler, stopping or starting
// The restarted spooler reporting the printer's port (it may load its
// printers late).
constexpr std::uint32_t kPrinterPortWaitMs = 10000;

// A printer and the port the restarted spooler is to report it on.
struct ExpectedPort {
  std::string printer;
  std::string port;
};

// Takes the machine's restart lock, waiting in slices of kLockSliceMs while
// another restart holds it (asking the policy after each); one abandoned by
// a program that ended is taken over. Then stops the running services that
// depend on the spooler, runs NET STOP SPOOLER and NET START SPOOLER from
// the system folder, each followed by a wait until the service manager
// reports the spooler stopped or running, and starts the dependents again
// in the reverse order, on every way out but a program given up by the
// wait policy. NET START runs whatever NET STOP did. With expected, the
// restart is in effect only once the spooler reports the printer on that
// port (retrying while it has not loaded its printers yet); a restart that
// had to wait for another one first asks the spooler, and restarts nothing
// when the other restart already brought the printer there. The lock is
// held until the last of these questions.
RestartOutcome RestartSpooler(Platform& platform, IWaitPolicy& policy,
                              const std::optional<ExpectedPort>& expected = std::nullopt);

}  // namespace qv
