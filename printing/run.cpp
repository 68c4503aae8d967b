#include "printing/run.h"

namespace qv {
namespace {
constexpr std::uint32_t kWaitSliceMs = 50;
}

std::string StillRunningText(const std::string& program, std::uint64_t seconds) {
  return "\"" + program + "\" did not finish within " + std::to_string(seconds) +
         " seconds; it is still running.";
}

RunOutcome RunAndWait(Platform& platform, IWaitPolicy& policy, const std::string& file,
                      const std::string& parameters,
                      const std::optional<std::string>& utf8Parameters) {
  IProcessRunner& processes = platform.processes;
  ProcessHandle process = 0;
  std::uint32_t error = 0;
  IFileSystem& files = platform.files;
  if (!processes.StartHidden(files.ToUtf8(file), utf8Parameters.value_or(files.ToUtf8(parameters)),
                             &process, &error, [&] { policy.Idle(); })) {
    const std::string text = processes.SystemErrorText(error);
    policy.NotStarted(text);
    return {RunResult::NotStarted, text};
  }
  if (process == 0) return {};
  policy.Started();
  const std::string program = file + " " + parameters;
  const std::uint64_t started = platform.clock.NowMs();
  // The wait wakes early for window messages, so the window keeps
  // answering; buttons pressed meanwhile are held back by the dispatcher.
  while (processes.WaitOrMessage(process, kWaitSliceMs) == WaitResult::Woken) {
    policy.Idle();
    if (!policy.KeepWaiting(program, platform.clock.NowMs() - started) &&
        processes.WaitOrMessage(process, 0) != WaitResult::Ended) {
      // Killing an installer halfway could leave a broken driver behind:
      // the program goes on, only the wait ends.
      processes.CloseProcess(process);
      return {RunResult::Abandoned,
              StillRunningText(program, (platform.clock.NowMs() - started) / 1000)};
    }
  }
  processes.CloseProcess(process);
  return {};
}

}  // namespace qv
