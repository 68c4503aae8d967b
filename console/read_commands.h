// The console commands that only read the machine: status and export.
#pragma once

#include <string>

#include "console/arguments.h"
#include "console/console.h"
#include "platform/registry_backend.h"

namespace qv {

// "status [--json]": what the package needs, healthy or not; exit 3 when
// something needs repair. It creates and writes nothing.
int StatusCommand(const ConsoleArguments& args, ConsoleServices& services);

// "export FILE": the settings (but userDesktopDir), the port monitor's
// Driver and the PDF port's values as a .reg file for "reg import /reg:32".
int ExportCommand(const ConsoleArguments& args, ConsoleServices& services);
// The .reg file of those values, from the registry as it is: its bytes,
// UTF-16LE with a byte-order mark, each value with its type.
std::string RegistryExport(IRegistryBackend& registry);

}  // namespace qv
