// The console program's entry: composes the same Windows services as the
// window program and runs one command.
#include <windows.h>
// <shellapi.h> needs the types of <windows.h> declared first.
#include <shellapi.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/win32/win_console.h"
#include "platform/errors.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win_services.h"
#include "platform/win32/win_util.h"

namespace {

struct LocalFreer {
  void operator()(LPWSTR* block) const noexcept { LocalFree(block); }
};

// The arguments after the program's name, read as UTF-16 and converted to
// the code page without best fit: the system's own conversion for main()
// would turn "Ω" into "O" without a word.
std::vector<qv::ConsoleArgument> CommandLineArguments() {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreer> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<qv::ConsoleArgument> args;
  if (!argv) return args;
  for (int i = 1; i < count; ++i) {
    qv::ConsoleArgument arg;
    arg.text = qv::win32::Narrow(argv.get()[i], CP_ACP, &arg.exact);
    args.push_back(std::move(arg));
  }
  return args;
}

}  // namespace

int main() {
  qv::win32::RestrictDllSearchToSystem();
  // Unattended runs must never wait on a box: no system error boxes for
  // missing media or crashes.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  qv::Win32ConsoleOutput out;
  try {
    qv::Win32Services s;
    qv::ConsoleServices services{s.platform, out};
    return qv::RunConsole(CommandLineArguments(), services);
  } catch (const std::exception& error) {
    out.Write(qv::Stream::Err, qv::AsConsoleLines(qv::ErrorDisplayText(error.what())));
  } catch (...) {
    out.Write(qv::Stream::Err, "Unknown error.\n");
  }
  return qv::kExitRefused;
}
