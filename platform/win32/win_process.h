// Program start through the shell, waiting, and system error texts.
#pragma once

#include "platform/process.h"

namespace qv {

class Win32ProcessRunner : public IProcessRunner {
 public:
  bool StartHidden(const std::string& file, const std::string& parameters, ProcessHandle* process,
                   std::uint32_t* errorCode) override;
  WaitResult WaitOrMessage(ProcessHandle process, std::uint32_t timeoutMs) override;
  void CloseProcess(ProcessHandle process) override;
  std::string SystemErrorText(std::uint32_t code) override;
  void ShellOpen(std::uintptr_t owner, const std::string& operation, const std::string& file,
                 const std::string& parameters, const std::string& directory,
                 int showCommand) override;
};

}  // namespace qv
