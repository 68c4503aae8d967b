#include "platform/win32/win_process.h"

// <shellapi.h> needs the types of <windows.h> declared first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "platform/win32/win_util.h"

namespace qv {
namespace {
HANDLE ToHandle(ProcessHandle process) {
  return reinterpret_cast<HANDLE>(process);
}
}  // namespace

bool Win32ProcessRunner::StartHidden(const std::string& file, const std::string& parameters,
                                     ProcessHandle* process, std::uint32_t* errorCode) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  // SEE_MASK_FLAG_NO_UI: the shell shows no error box of its own, so the
  // caller's one message is the only one the user sees for a failed start.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
  info.hwnd = GetActiveWindow();
  info.lpVerb = "open";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.c_str();
  info.lpDirectory = nullptr;
  info.nShow = SW_HIDE;
  *process = 0;
  *errorCode = 0;
  if (!ShellExecuteExA(&info)) {
    *errorCode = GetLastError();
    return false;
  }
  *process = reinterpret_cast<ProcessHandle>(info.hProcess);
  return true;
}

WaitResult Win32ProcessRunner::WaitOrMessage(ProcessHandle process, std::uint32_t timeoutMs) {
  HANDLE handle = ToHandle(process);
  // MWMO_INPUTAVAILABLE: also wake for messages already waiting in the
  // queue, not only for those that arrive during the wait.
  const DWORD rc =
      MsgWaitForMultipleObjectsEx(1, &handle, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (rc == WAIT_OBJECT_0) return WaitResult::Ended;
  if (rc == WAIT_OBJECT_0 + 1 || rc == WAIT_TIMEOUT) return WaitResult::Woken;
  return WaitResult::Failed;
}

void Win32ProcessRunner::CloseProcess(ProcessHandle process) {
  if (process != 0) CloseHandle(ToHandle(process));
}

std::string Win32ProcessRunner::SystemErrorText(std::uint32_t code) {
  return win32::SystemErrorText(code);
}

void Win32ProcessRunner::ShellOpen(std::uintptr_t owner, const std::string& operation,
                                   const std::string& file, const std::string& parameters,
                                   const std::string& directory, int showCommand) {
  auto orNull = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
  // The result is deliberately ignored: a link nobody handles does nothing.
  ShellExecuteA(reinterpret_cast<HWND>(owner), orNull(operation), file.c_str(), orNull(parameters),
                orNull(directory), showCommand);
}

}  // namespace qv
