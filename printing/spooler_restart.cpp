#include "printing/spooler_restart.h"

#include <optional>

namespace qv {

std::string DependentNotStartedText(const std::string& displayName) {
  return "The printer now feeds the PDF port, but the service \"" + displayName +
         "\" could not be started again after the print spooler restarted.";
}

std::string PortNotReportedText(const std::string& printer) {
  return "The print spooler does not report \"" + printer +
         "\" on the PDF port, so the change has not taken effect.";
}

RestartOutcome RestartSpooler(Platform& platform, IWaitPolicy& policy, const RestartTimes& times) {
  ISpooler& spooler = platform.spooler;
  // Polls the service manager until the service is in that state, at most
  // limitMs; a request the manager refused is looked at once.
  const auto reaches = [&](const std::string& service, ServiceState state, bool asked,
                           std::uint32_t limitMs) {
    const std::uint64_t start = platform.clock.NowMs();
    while (spooler.State(service) != state) {
      if (!asked || platform.clock.NowMs() - start >= limitMs) return false;
      policy.Pause(times.pollMs);
    }
    return true;
  };
  // The dependents stopped so far, started again in the reverse order;
  // the display name of the first that did not start.
  std::vector<Service> stopped;
  const auto startAgain = [&] {
    std::optional<std::string> failed;
    for (auto it = stopped.rbegin(); it != stopped.rend(); ++it) {
      const bool started =
          reaches(it->name, ServiceState::Running, spooler.Start(it->name), times.dependentMs);
      if (!started && !failed) failed = it->displayName;
    }
    return failed;
  };
  // A program given up still runs: nothing more is started, and the text
  // names what is left stopped.
  const auto abandoned = [&](const RunOutcome& run) {
    std::string text = run.text;
    for (std::size_t i = 0; i < stopped.size(); ++i) {
      text += (i == 0 ? "\rThese services were stopped and have not been started again: " : ", ") +
              stopped[i].displayName;
    }
    return RestartOutcome{RestartResult::Abandoned, text + (stopped.empty() ? "" : ".")};
  };

  // NET would ask whether to stop the dependents too, in a console no one
  // can type into: they are stopped first, in the order given.
  for (const Service& service : spooler.RunningDependents()) {
    if (!reaches(service.name, ServiceState::Stopped, spooler.Stop(service.name),
                 times.dependentMs)) {
      startAgain();
      return {RestartResult::NotStopped, kSpoolerNotStoppedText};
    }
    stopped.push_back(service);
  }
  // From the system folder by its full path: started by bare name, the
  // shell would look in the current folder and the program's folder first,
  // and this program runs as administrator. NET's exit code is the same
  // for "not started", "already running" and "no such service": the
  // service manager tells what happened.
  const std::string net = SystemProgram(platform.files, "net.exe");
  const RunOutcome stop = RunAndWait(platform, policy, net, "STOP SPOOLER");
  if (stop.result == RunResult::Abandoned) return abandoned(stop);
  const bool stoppedNow = stop.result == RunResult::Ended &&
                          reaches(kSpoolerService, ServiceState::Stopped, true, times.spoolerMs);
  const RunOutcome start = RunAndWait(platform, policy, net, "START SPOOLER");
  if (start.result == RunResult::Abandoned) return abandoned(start);

  RestartOutcome outcome;
  if (stop.result == RunResult::NotStarted || start.result == RunResult::NotStarted) {
    outcome = {RestartResult::ProgramNotStarted,
               stop.result == RunResult::NotStarted ? stop.text : start.text};
  } else if (!stoppedNow) {
    outcome = {RestartResult::NotStopped, kSpoolerNotStoppedText};
  } else if (!reaches(kSpoolerService, ServiceState::Running, true, times.spoolerMs)) {
    outcome = {RestartResult::NotStartedAgain, kSpoolerNotStartedText};
  }
  const std::optional<std::string> notStarted = startAgain();
  if (outcome.result == RestartResult::Restarted && notStarted) {
    outcome = {RestartResult::DependentNotStarted, DependentNotStartedText(*notStarted)};
  }
  return outcome;
}

}  // namespace qv
