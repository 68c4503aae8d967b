// The console commands that change the machine: fix-port, attach, install
// and set.
#pragma once

#include "console/arguments.h"
#include "console/console.h"

namespace qv {

// "fix-port [--if-needed]": the port monitor's and the PDF port's values as
// Fix PDF Port writes them; with --if-needed only when one differs.
int FixPortCommand(const ConsoleArguments& args, ConsoleServices& services);
// "attach PRINTER": the installed printer to the PDF port, then the
// spooler restarted; done only when the change is in effect.
int AttachCommand(const ConsoleArguments& args, ConsoleServices& services);
// "install NAME [--default]": a printer from the package's driver, attached
// to the PDF port as attach does.
int InstallCommand(const ConsoleArguments& args, ConsoleServices& services);
// "detach PRINTER [--port PORT]": the printer back on the port recorded
// when it was sent to the PDF port (or PORT), then the spooler restarted;
// done only when the spooler reports that port, and then the record goes.
int DetachCommand(const ConsoleArguments& args, ConsoleServices& services);
// "set NAME=VALUE...": validates every NAME=VALUE first (exit 2 and nothing
// written on a bad one), then writes only the named values, each with its
// type.
int SetCommand(const ConsoleArguments& args, ConsoleServices& services);

}  // namespace qv
