// Program start through the shell, waiting, and system error texts.
#pragma once

#include "platform/process.h"

namespace qv {

class Win32ProcessRunner : public IProcessRunner {
 public:
  // The shell's call runs on a short-lived worker thread (with COM, as the
  // shell needs), so that this thread goes on answering its windows.
  bool StartHidden(const std::string& file, const std::string& parameters, ProcessHandle* process,
                   std::uint32_t* errorCode, const std::function<void()>& whileStarting) override;
  WaitResult WaitOrMessage(ProcessHandle process, std::uint32_t timeoutMs) override;
  void CloseProcess(ProcessHandle process) override;
  std::string SystemErrorText(std::uint32_t code) override;
  void ShellOpen(std::uintptr_t owner, const ShellCall& call) override;
  bool IsElevated() override;
  // Through Explorer's Shell.Application object behind the desktop window
  // (ShellWindows, the desktop's view, IShellDispatch2::ShellExecute), with
  // COM on the calling thread; false at the first step that fails.
  bool OpenAsDesktopUser(const ShellCall& call) override;
};

}  // namespace qv
