#include "platform/win32/win_process.h"

// <shellapi.h> needs the types of <windows.h> declared first.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
// clang-format on

#include "platform/win32/text_conversion.h"
#include "platform/win32/win_util.h"

namespace qv {
namespace {

HANDLE ToHandle(ProcessHandle process) {
  return reinterpret_cast<HANDLE>(process);
}

// A start handed to the worker thread: the record filled by the caller, and
// what the shell's call gave back.
struct StartJob {
  SHELLEXECUTEINFOW info;
  BOOL started;
  DWORD error;
};

DWORD WINAPI StartOnWorker(void* param) noexcept {
  auto* job = static_cast<StartJob*>(param);
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  job->started = ShellExecuteExW(&job->info);
  job->error = job->started ? 0 : GetLastError();
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

}  // namespace

bool Win32ProcessRunner::StartHidden(const std::string& file, const std::string& parameters,
                                     ProcessHandle* process, std::uint32_t* errorCode,
                                     const std::function<void()>& whileStarting) {
  // Through the wide API, so that a path the code page cannot hold (the
  // driver's INF in such a folder) reaches the program exactly.
  const std::wstring wideFile = win32::Widen(file, CP_UTF8);
  const std::wstring wideParameters = win32::Widen(parameters, CP_UTF8);
  StartJob job{};
  SHELLEXECUTEINFOW& info = job.info;
  info.cbSize = sizeof info;
  // SEE_MASK_FLAG_NO_UI: the shell shows no error box of its own, so the
  // caller's one message is the only one the user sees for a failed start.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
  info.hwnd = GetActiveWindow();
  info.lpVerb = L"open";
  info.lpFile = wideFile.c_str();
  info.lpParameters = wideParameters.c_str();
  info.lpDirectory = nullptr;
  info.nShow = SW_HIDE;
  *process = 0;
  *errorCode = 0;

  win32::UniqueHandle worker(CreateThread(nullptr, 0, StartOnWorker, &job, 0, nullptr));
  if (worker) {
    HANDLE handle = worker.get();
    const DWORD wake = whileStarting ? QS_ALLINPUT : 0;
    while (MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, wake, MWMO_INPUTAVAILABLE) ==
           WAIT_OBJECT_0 + 1) {
      whileStarting();
    }
    // The worker has ended (or the wait failed, and it is waited for here):
    // it holds nothing any more.
    WaitForSingleObject(handle, INFINITE);
  } else {
    StartOnWorker(&job);  // no thread to be had: start from here
  }
  if (!job.started) {
    *errorCode = job.error;
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

void Win32ProcessRunner::ShellOpen(std::uintptr_t owner, const ShellCall& call) {
  auto orNull = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
  // The result is deliberately ignored: a link nobody handles does nothing.
  ShellExecuteA(reinterpret_cast<HWND>(owner), orNull(call.operation), call.file.c_str(),
                orNull(call.parameters), orNull(call.directory), call.showCommand);
}

}  // namespace qv
