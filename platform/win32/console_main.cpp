// The console program's entry: composes the same Windows services as the
// window program, with headless dialogs, and runs one command.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "console/console.h"
#include "platform/errors.h"
#include "platform/win32/win_console.h"
#include "platform/win32/win_services.h"
#include "platform/win32/win_util.h"

int main(int argc, char** argv) {
  qv::win32::RestrictDllSearchToSystem();
  // Unattended runs must never wait on a box: no system error boxes for
  // missing media or crashes.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  qv::Win32ConsoleOutput out;
  try {
    qv::Win32Services s;
    qv::ConsoleServices services{s.registry, s.printers, s.processes, s.files, s.app, out};
    qv::Win32Registry registry64(qv::RegistryView::Bits64);  // for status alone
    if (qv::Has64BitRegistryView()) services.registry64 = &registry64;
    return qv::RunConsole(std::vector<std::string>(argv + 1, argv + argc), services);
  } catch (const std::exception& error) {
    out.Write(qv::Stream::Err, qv::AsConsoleLines(qv::ErrorDisplayText(error.what())));
  } catch (...) {
    out.Write(qv::Stream::Err, "Unknown error.\n");
  }
  return qv::kExitRefused;
}
