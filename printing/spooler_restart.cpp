#include "printing/spooler_restart.h"

#include <optional>

#include "config/registry_layout.h"

namespace qv {

std::string DependentNotStartedText(const std::string& displayName) {
  return "The printer now feeds the PDF port, but the service \"" + displayName +
         "\" could not be started again after the print spooler restarted.";
}

std::string PortNotRestoredText(const std::string& printer, const std::string& port) {
  return "The print spooler does not report \"" + printer + "\" on the port \"" + port +
         "\", so the change has not taken effect.";
}

std::string PortNotReportedText(const std::string& printer) {
  return "The print spooler does not report \"" + printer +
         "\" on the PDF port, so the change has not taken effect.";
}

std::string RestartLockFailedText(const std::string& systemText) {
  return "The lock that keeps restarts of the print spooler apart could not be taken (" +
         systemText + "), so the print spooler was not restarted.";
}

namespace {

// One restart, with the dependents it has stopped so far.
class SpoolerRestart {
 public:
  SpoolerRestart(Platform& platform, IWaitPolicy& policy)
      : platform_(platform), spooler_(platform.spooler), policy_(policy) {}
  RestartOutcome Run();

 private:
  bool Reaches(const std::string& service, ServiceState state, bool asked, std::uint32_t limitMs);
  bool StopDependents();
  std::optional<std::string> StartAgain();
  RestartOutcome Abandoned(const RunOutcome& run) const;

  Platform& platform_;
  ISpooler& spooler_;
  IWaitPolicy& policy_;
  std::vector<Service> stopped_;
};

// Polls the service manager until the service is in that state, at most
// limitMs; a request the manager refused is looked at once.
bool SpoolerRestart::Reaches(const std::string& service, ServiceState state, bool asked,
                             std::uint32_t limitMs) {
  const std::uint64_t start = platform_.clock.NowMs();
  while (spooler_.State(service) != state) {
    if (!asked || platform_.clock.NowMs() - start >= limitMs) return false;
    policy_.Pause(kRestartPollMs);
  }
  return true;
}

// NET would ask whether to stop the dependents too, in a console no one
// can type into: they are stopped first, in the order given. False at the
// first that does not stop.
bool SpoolerRestart::StopDependents() {
  for (const Service& service : spooler_.RunningDependents()) {
    if (!Reaches(service.name, ServiceState::Stopped, spooler_.Stop(service.name),
                 kDependentWaitMs)) {
      return false;
    }
    stopped_.push_back(service);
  }
  return true;
}

// The dependents stopped so far, started again in the reverse order; the
// display name of the first that did not start.
std::optional<std::string> SpoolerRestart::StartAgain() {
  std::optional<std::string> failed;
  for (auto it = stopped_.rbegin(); it != stopped_.rend(); ++it) {
    const bool started =
        Reaches(it->name, ServiceState::Running, spooler_.Start(it->name), kDependentWaitMs);
    if (!started && !failed) failed = it->displayName;
  }
  return failed;
}

// A program given up still runs: nothing more is started, and the text
// names what is left stopped.
RestartOutcome SpoolerRestart::Abandoned(const RunOutcome& run) const {
  std::string text = run.text;
  for (std::size_t i = 0; i < stopped_.size(); ++i) {
    text += (i == 0 ? "\rThese services were stopped and have not been started again: " : ", ") +
            stopped_[i].displayName;
  }
  return RestartOutcome{RestartResult::Abandoned, text + (stopped_.empty() ? "" : ".")};
}

RestartOutcome SpoolerRestart::Run() {
  if (!StopDependents()) {
    StartAgain();
    return {RestartResult::NotStopped, kSpoolerNotStoppedText};
  }
  // From the system folder by its full path: started by bare name, the
  // shell would look in the current folder and the program's folder first,
  // and this program runs as administrator. NET's exit code is the same
  // for "not started", "already running" and "no such service": the
  // service manager tells what happened.
  const std::string net = SystemProgram(platform_.files, "net.exe");
  const RunOutcome stop = RunAndWait(platform_, policy_, net, "STOP SPOOLER");
  if (stop.result == RunResult::Abandoned) return Abandoned(stop);
  const bool stoppedNow = stop.result == RunResult::Ended &&
                          Reaches(kSpoolerService, ServiceState::Stopped, true, kSpoolerWaitMs);
  const RunOutcome start = RunAndWait(platform_, policy_, net, "START SPOOLER");
  if (start.result == RunResult::Abandoned) return Abandoned(start);

  RestartOutcome outcome;
  if (stop.result == RunResult::NotStarted || start.result == RunResult::NotStarted) {
    outcome = {RestartResult::ProgramNotStarted,
               stop.result == RunResult::NotStarted ? stop.text : start.text};
  } else if (!stoppedNow) {
    outcome = {RestartResult::NotStopped, kSpoolerNotStoppedText};
  } else if (!Reaches(kSpoolerService, ServiceState::Running, true, kSpoolerWaitMs)) {
    outcome = {RestartResult::NotStartedAgain, kSpoolerNotStartedText};
  }
  const std::optional<std::string> notStarted = StartAgain();
  if (outcome.result == RestartResult::Restarted && notStarted) {
    outcome = {RestartResult::DependentNotStarted, DependentNotStartedText(*notStarted)};
  }
  return outcome;
}

// Takes the lock, waiting while another restart holds it: nullopt once it
// is held, otherwise why not. waited: the lock was released by a restart
// that this one waited for (not taken over from one that ended midway).
std::optional<RestartOutcome> TakeLock(Platform& platform, IWaitPolicy& policy,
                                       RestartLockHolder& lock, bool* waited) {
  const std::uint64_t start = platform.clock.NowMs();
  policy.Started();
  for (;;) {
    const LockAttempt attempt = lock.TryAcquire(kLockSliceMs);
    switch (attempt.result) {
      case LockResult::Acquired:
        return std::nullopt;
      case LockResult::TakenOver:
        *waited = false;
        return std::nullopt;
      case LockResult::AccessDenied:
        return RestartOutcome{RestartResult::LockNotTaken, kRestartLockDeniedText};
      case LockResult::Failed:
        return RestartOutcome{RestartResult::LockNotTaken,
                              RestartLockFailedText(attempt.systemText)};
      case LockResult::Busy:
        break;
    }
    *waited = true;
    policy.Idle();
    if (!policy.KeepWaitingForLock(platform.clock.NowMs() - start)) {
      return RestartOutcome{RestartResult::OtherRestartRunning, kRestartInProgressText};
    }
  }
}

}  // namespace

RestartOutcome RestartSpooler(Platform& platform, IWaitPolicy& policy,
                              const std::optional<ExpectedPort>& expected) {
  RestartLockHolder lock(platform.restartLock);
  bool waited = false;
  if (std::optional<RestartOutcome> refused = TakeLock(platform, policy, lock, &waited)) {
    return *refused;
  }
  // Asked only after a wait: the spooler may report a port the moment it is
  // written (Wine's does), so asking first would skip every restart there.
  if (waited && expected && platform.spooler.PrinterPort(expected->printer) == expected->port) {
    RestartOutcome outcome;
    outcome.byOtherRestart = true;
    return outcome;
  }
  const RestartOutcome outcome = SpoolerRestart(platform, policy).Run();
  if (!expected || !outcome.InEffect()) return outcome;
  const std::uint64_t start = platform.clock.NowMs();
  std::optional<std::string> port;
  while (!(port = platform.spooler.PrinterPort(expected->printer)) &&
         platform.clock.NowMs() - start < kPrinterPortWaitMs) {
    policy.Pause(kRestartPollMs);
  }
  if (port != expected->port) {
    return {RestartResult::PortNotReported,
            layout::FeedsPdfPort(expected->port)
                ? PortNotReportedText(expected->printer)
                : PortNotRestoredText(expected->printer, expected->port)};
  }
  return outcome;
}

}  // namespace qv
