#include "printing/spooler_restart.h"

namespace qv {

RestartOutcome RestartSpooler(Platform& platform, IWaitPolicy& policy, bool verify) {
  // From the system folder by its full path: started by bare name, the
  // shell would look in the current folder and the program's folder first,
  // and this program runs as administrator.
  const std::string net = SystemProgram(platform.files, "net.exe");
  const RunOutcome stop = RunAndWait(platform, policy, net, "STOP SPOOLER");
  if (stop.result == RunResult::Abandoned) return {RestartResult::Abandoned, stop.text};
  if (verify && stop.result == RunResult::Ended &&
      platform.spooler.State() != ServiceState::Stopped) {
    return {RestartResult::NotStopped, kSpoolerNotStoppedText};
  }
  const RunOutcome start = RunAndWait(platform, policy, net, "START SPOOLER");
  if (start.result == RunResult::Abandoned) return {RestartResult::Abandoned, start.text};
  if (verify && start.result == RunResult::Ended &&
      platform.spooler.State() != ServiceState::Running) {
    return {RestartResult::NotStartedAgain, kSpoolerNotStartedText};
  }
  return {};
}

}  // namespace qv
