// Restarting the print spooler so that a printer's new port takes effect,
// with the services that depend on it stopped first and started again
// after, so that NET never asks a question no one can answer.
#pragma once

#include <cstdint>
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
};
struct RestartOutcome {
  RestartResult result = RestartResult::Restarted;
  std::string text;  // what went wrong, for every result but Restarted
  // The change is in effect: the printer feeds the PDF port.
  bool InEffect() const {
    return result == RestartResult::Restarted || result == RestartResult::DependentNotStarted;
  }
};

// How long the restart waits for each state, asking every kRestartPollMs.
constexpr std::uint32_t kRestartPollMs = 250;
constexpr std::uint32_t kDependentWaitMs = 30000;  // each dependent service, stopping or starting
constexpr std::uint32_t kSpoolerWaitMs = 60000;    // the spooler, stopping or starting
// The restarted spooler reporting the printer's port (it may load its
// printers late).
constexpr std::uint32_t kPrinterPortWaitMs = 10000;

// Stops the running services that depend on the spooler, runs NET STOP
// SPOOLER and NET START SPOOLER from the system folder, each followed by a
// wait until the service manager reports the spooler stopped or running,
// and starts the dependents again in the reverse order, on every way out
// but a program given up by the wait policy. NET START runs whatever NET
// STOP did; the outcome says whether the change took effect.
RestartOutcome RestartSpooler(Platform& platform, IWaitPolicy& policy);

}  // namespace qv
