#include "console/commands.h"

#include <cstdint>

#include "console/change_commands.h"
#include "console/read_commands.h"

namespace qv {
namespace {

int HelpCommand(const ConsoleArguments&, ConsoleServices& services) {
  services.out.Write(Stream::Out, ConsoleUsage());
  return kExitDone;
}

}  // namespace

const std::vector<ConsoleCommand>& ConsoleCommands() {
  static const std::vector<ConsoleCommand> commands = {
      {"status", kJson, nullptr, 0, 0, &StatusCommand,
       "Report Ghostscript, the PDF port, the printers and the\n"
       "options; exit 0 when healthy, 3 when something needs repair.\n"},
      {"fix-port", kCheck | kJson | kIfNeeded, nullptr, 0, 0, &FixPortCommand,
       "Rewrite the port monitor and PDF port registration;\n"
       "--if-needed writes only when something there differs.\n"},
      {"attach", kCheck | kJson | kTimeout, "PRINTER", 1, 1, &AttachCommand,
       "Send the installed printer PRINTER to the PDF port and\n"
       "restart the print spooler. PRINTER is its name as listed;\n"
       "the case of A to Z does not matter.\n"},
      {"install", kCheck | kJson | kDefault | kTimeout, "NAME", 1, 1, &InstallCommand,
       "Install a PostScript printer named NAME from the package's\n"
       "driver, attach it to the PDF port; --default makes it the\n"
       "default printer.\n"
       "--timeout (attach, install, detach): the longest wait for\n"
       "each program started, and for another restart of the print\n"
       "spooler, 1 to 86400 seconds (" +
           std::to_string(kDefaultTimeoutSeconds) + " by default).\n"},
      {"detach", kCheck | kJson | kPort | kTimeout, "PRINTER", 1, 1, &DetachCommand,
       "Put the printer PRINTER back on the port it used before it\n"
       "was sent to the PDF port (or on PORT) and restart the print\n"
       "spooler.\n"},
      {"set", kCheck | kJson, "NAME=VALUE", 1, SIZE_MAX, &SetCommand,
       "Store options: defaultPDFFile, defaultPDFDir,\n"
       "defaultPDFAppend, promptPDF, finishMessage, launchPDFApp\n"
       "(0 or 1), GSWIN32C, GS_DLL.\n"
       "--check (fix-port, attach, install, detach, set): change\n"
       "nothing; list each change the command would make. --json:\n"
       "the result as one object on standard output.\n",
       true},
      {"export", 0, "FILE", 1, 1, &ExportCommand,
       "Write the settings, the port monitor and the PDF port as a\n"
       ".reg file for \"reg import FILE /reg:32\" on another machine.\n"},
      {"--help", 0, nullptr, 0, 0, &HelpCommand, "Show this text.\n", false, {"-h", "/?"}},
  };
  return commands;
}

}  // namespace qv
