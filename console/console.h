// The console program for unattended administration: one command per run,
// its result in the exit code, notices on standard output and errors on
// standard error. Each command calls the same modules as the window.
#pragma once

#include <string>
#include <vector>

#include "console/output.h"
#include "platform/platform.h"

namespace qv {

// Exit codes.
enum : int {
  kExitDone = 0,
  kExitRefused = 1,      // the machine refused: a message says why
  kExitUsage = 2,        // a malformed command line
  kExitNeedsRepair = 3,  // status: something needs repair
};

// The system services the console program works through.
struct ConsoleServices {
  Platform& platform;
  IConsoleOutput& out;
};

// Runs the command of args (the arguments after the program's name);
// returns the exit code.
int RunConsole(const std::vector<std::string>& args, ConsoleServices& services);

// An argument in the system's code page; exact is false when it held
// characters that the code page cannot represent.
struct ConsoleArgument {
  std::string text;
  bool exact = true;
};
// Refuses the first argument that is not exact (exit 2, without the
// usage), before anything runs; otherwise RunConsole on their texts.
int RunConsole(const std::vector<ConsoleArgument>& args, ConsoleServices& services);

}  // namespace qv
