#include "console/guarded_processes.h"

#include <algorithm>

#include "platform/errors.h"

namespace qv {

GuardedProcessRunner::GuardedProcessRunner(IProcessRunner& inner, ISpooler* spooler,
                                           IFileSystem& files, Clock clock,
                                           std::uint32_t limitSeconds)
    : inner_(inner),
      spooler_(spooler),
      files_(files),
      clock_(std::move(clock)),
      limitMs_(std::uint64_t{limitSeconds} * 1000) {}

bool GuardedProcessRunner::StartHidden(const std::string& file, const std::string& parameters,
                                       ProcessHandle* process, std::uint32_t* errorCode,
                                       const std::function<void()>& whileStarting) {
  if (!inner_.StartHidden(file, parameters, process, errorCode, whileStarting)) return false;
  if (*process != 0) running_[*process] = {file, parameters, clock_()};
  return true;
}

WaitResult GuardedProcessRunner::WaitOrMessage(ProcessHandle process, std::uint32_t timeoutMs) {
  const auto found = running_.find(process);
  if (found == running_.end()) return inner_.WaitOrMessage(process, timeoutMs);
  const std::uint64_t elapsed = clock_() - found->second.started;
  if (elapsed >= limitMs_) {
    // Killing an installer halfway could leave a broken driver behind:
    // the program goes on, only the wait ends.
    const Running late = found->second;
    running_.erase(found);
    inner_.CloseProcess(process);
    throw ESystemError("\"" + late.file + " " + late.parameters + "\" did not finish within " +
                       std::to_string(limitMs_ / 1000) + " seconds; it is still running.");
  }
  const auto left =
      static_cast<std::uint32_t>(std::min<std::uint64_t>(limitMs_ - elapsed, timeoutMs));
  return inner_.WaitOrMessage(process, left);
}

void GuardedProcessRunner::CloseProcess(ProcessHandle process) {
  inner_.CloseProcess(process);
  const auto found = running_.find(process);
  if (found == running_.end()) return;
  const Running ended = found->second;
  running_.erase(found);
  if (spooler_ == nullptr || ended.file != SystemProgram(files_, "net.exe")) return;
  // NET's exit code is the same for "not started", "already running" and
  // "no such service": the service manager tells what happened.
  if (ended.parameters == "STOP SPOOLER" && spooler_->State() != ServiceState::Stopped) {
    throw ESystemError(
        "The print spooler could not be stopped, so the change has not taken effect.");
  }
  if (ended.parameters == "START SPOOLER" && spooler_->State() != ServiceState::Running) {
    throw ESystemError("The print spooler could not be started again.");
  }
}

std::string GuardedProcessRunner::SystemErrorText(std::uint32_t code) {
  return inner_.SystemErrorText(code);
}

void GuardedProcessRunner::ShellOpen(std::uintptr_t owner, const std::string& operation,
                                     const std::string& file, const std::string& parameters,
                                     const std::string& directory, int showCommand) {
  inner_.ShellOpen(owner, operation, file, parameters, directory, showCommand);
}

}  // namespace qv
