// Starting programs through the shell and waiting for them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

using ProcessHandle = std::uintptr_t;  // 0: no process

// What ShellExecute is asked to open, but the owner window: its verb, the
// file or link, the program's parameters and folder (each empty: none)
// and how the program's window is shown (an SW_ value).
struct ShellCall {
  std::string operation, file, parameters, directory;
  int showCommand = 0;
};

enum class WaitResult {
  Ended,   // the process has ended
  Woken,   // the time-out passed, or window messages arrived first
  Failed,  // the wait itself failed
};

class IProcessRunner {
 public:
  virtual ~IProcessRunner() = default;

  // Starts file with parameters (both in UTF-8), hidden, through the shell (ShellExecuteEx
  // with SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT, verb "open",
  // owner the active window). On success returns true with the process
  // handle (0 when the shell gave none); on failure false with the system
  // error code. The shell's call may take a while: whileStarting runs
  // whenever window messages arrive for the calling thread meanwhile.
  virtual bool StartHidden(const std::string& file, const std::string& parameters,
                           ProcessHandle* process, std::uint32_t* errorCode,
                           const std::function<void()>& whileStarting) = 0;
  // Waits until the process ends, at most timeoutMs, returning early when a
  // window message arrives for the calling thread.
  virtual WaitResult WaitOrMessage(ProcessHandle process, std::uint32_t timeoutMs) = 0;
  virtual void CloseProcess(ProcessHandle process) = 0;

  // The system's text for an error code (FormatMessage), trailing white
  // space, control characters and periods removed; empty when none.
  virtual std::string SystemErrorText(std::uint32_t code) = 0;

  // ShellExecute with that owner window. The result is not reported: a
  // link that no program handles does nothing.
  virtual void ShellOpen(std::uintptr_t owner, const ShellCall& call) = 0;

  // Whether this process runs elevated (its token's TokenElevation).
  virtual bool IsElevated() = 0;
  // Hands the same call as ShellOpen to the shell of the desktop (Explorer),
  // which starts the program with the rights of the user who owns the
  // desktop. False when that shell could not be reached or refused the call.
  virtual bool OpenAsDesktopUser(const ShellCall& call) = 0;
};

// Opens a link as ShellOpen does, except that an elevated process hands it
// to the desktop's shell first, so that the browser or mail program does not
// run elevated too; when that shell cannot take it, ShellOpen opens it.
void OpenLink(IProcessRunner& processes, std::uintptr_t owner, const ShellCall& call);

// Removes trailing white space, control characters and periods, as the
// system error text is shown.
std::string TrimSystemText(const std::string& text);

}  // namespace qv
