// The console program for unattended administration: one command per run,
// its result in the exit code, notices on standard output and errors on
// standard error. Where a command does what a button does, it runs that
// button's handler on in-memory controls with headless dialogs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "console/output.h"
#include "console/spooler.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/printers.h"
#include "platform/process.h"
#include "platform/registry_backend.h"

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
  IRegistryBackend& registry;
  PrinterService& printers;
  IProcessRunner& processes;
  IFileSystem& files;
  IApplication& app;
  IConsoleOutput& out;
  // The 64-bit registry view, which only status reads; null where Windows
  // has none.
  IRegistryBackend* registry64 = nullptr;
  // The spooler's state and the default printer, asked after the programs
  // that attach and install start; null to ask nothing.
  ISpooler* spooler = nullptr;
  // Milliseconds from any fixed point, for the time limit of those
  // programs; empty for the steady clock.
  std::function<std::uint64_t()> clock;
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
