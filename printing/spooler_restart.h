// Restarting the print spooler so that a printer's new port takes effect.
#pragma once

#include <string>

#include "platform/platform.h"
#include "printing/run.h"

namespace qv {

constexpr const char* kSpoolerNotStoppedText =
    "The print spooler could not be stopped, so the change has not taken effect.";
constexpr const char* kSpoolerNotStartedText = "The print spooler could not be started again.";

enum class RestartResult { Restarted, NotStopped, NotStartedAgain, Abandoned };
struct RestartOutcome {
  RestartResult result = RestartResult::Restarted;
  std::string text;  // what went wrong, for every result but Restarted
};

// NET STOP SPOOLER, then NET START SPOOLER, from the system folder. With
// verify, NET's exit code being the same for "not started", "already
// running" and "no such service", the service manager is asked after each
// call that ran whether the spooler is stopped, or running again; a
// spooler that did not stop is not started. A program given up by the
// wait policy ends the restart.
RestartOutcome RestartSpooler(Platform& platform, IWaitPolicy& policy, bool verify);

}  // namespace qv
