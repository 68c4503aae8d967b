// The programs the console starts for the window's handlers, watched so that
// an unattended run tells the truth and always ends: a program that runs
// past the time limit is left running and ends the command, and after each
// NET call the spooler must be in the state that call was to reach.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "console/spooler.h"
#include "platform/files.h"
#include "platform/process.h"

namespace qv {

// The longest the console waits for one program unless told otherwise.
constexpr std::uint32_t kDefaultTimeoutSeconds = 300;

class GuardedProcessRunner : public IProcessRunner {
 public:
  // Milliseconds from any fixed point on.
  using Clock = std::function<std::uint64_t()>;
  GuardedProcessRunner(IProcessRunner& inner, ISpooler* spooler, IFileSystem& files, Clock clock,
                       std::uint32_t limitSeconds);

  bool StartHidden(const std::string& file, const std::string& parameters, ProcessHandle* process,
                   std::uint32_t* errorCode, const std::function<void()>& whileStarting) override;
  // Raises ESystemError once the program has run past the limit, after
  // closing its handle; the program itself goes on.
  WaitResult WaitOrMessage(ProcessHandle process, std::uint32_t timeoutMs) override;
  // Raises ESystemError when a NET call left the spooler in another state
  // than it was to reach (asked only when there is a spooler to ask).
  void CloseProcess(ProcessHandle process) override;
  std::string SystemErrorText(std::uint32_t code) override;
  void ShellOpen(std::uintptr_t owner, const std::string& operation, const std::string& file,
                 const std::string& parameters, const std::string& directory,
                 int showCommand) override;

 private:
  struct Running {
    std::string file, parameters;
    std::uint64_t started;
  };
  IProcessRunner& inner_;
  ISpooler* spooler_;
  IFileSystem& files_;
  Clock clock_;
  std::uint64_t limitMs_;
  std::map<ProcessHandle, Running> running_;
};

}  // namespace qv
