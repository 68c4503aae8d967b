// "set" and "export": the console commands that no button has.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "console/console.h"
#include "platform/registry_backend.h"

namespace qv {

// "set": validates every NAME=VALUE first (exit 2 and nothing written on a
// bad one), then writes only the named values, each with its type.
int SetOptions(const std::vector<std::string>& assignments, ConsoleServices& services);
// "export": the settings (but userDesktopDir), the port monitor's Driver
// and the PDF port's values as a .reg file for "reg import /reg:32".
int ExportSettings(const std::string& file, ConsoleServices& services);
// The .reg file of those values, from the registry as it is: its bytes,
// UTF-16LE with a byte-order mark, each value with its type.
std::string RegistryExport(IRegistryBackend& registry);

// Runs a command's work through the error boundary, its errors written to
// standard error; true when it raised none.
bool RunReporting(ConsoleServices& services, const std::function<void()>& work);

}  // namespace qv
