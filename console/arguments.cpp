#include "console/arguments.h"

#include <cstdint>

namespace qv {

const char* const kConsoleUsage =
    "Usage: QuorvinConfigCmd <command> [options]\n"
    "\n"
    "Commands:\n"
    "  status [--json]         Report Ghostscript, the PDF port, the printers and the\n"
    "                          options; exit 0 when healthy, 3 when something needs repair.\n"
    "  fix-port [--if-needed]  Rewrite the port monitor and PDF port registration;\n"
    "                          --if-needed writes only when something there differs.\n"
    "  attach PRINTER [--timeout SECONDS]\n"
    "                          Send the installed printer PRINTER to the PDF port and\n"
    "                          restart the print spooler. PRINTER is its name as listed;\n"
    "                          the case of A to Z does not matter.\n"
    "  install NAME [--default] [--timeout SECONDS]\n"
    "                          Install a PostScript printer named NAME from the package's\n"
    "                          driver, attach it to the PDF port; --default makes it the\n"
    "                          default printer.\n"
    "                          --timeout (attach, install): the longest wait for each\n"
    "                          program started, 1 to 86400 seconds (300 by default).\n"
    "  set NAME=VALUE...       Store options: defaultPDFFile, defaultPDFDir,\n"
    "                          defaultPDFAppend, promptPDF, finishMessage, launchPDFApp\n"
    "                          (0 or 1), GSWIN32C, GS_DLL.\n"
    "  export FILE             Write the settings, the port monitor and the PDF port as a\n"
    "                          .reg file for \"reg import FILE /reg:32\" on another machine.\n"
    "  --help                  Show this text.\n"
    "\n"
    "Exit codes: 0 done, 1 the machine refused or the change did not take effect (see\n"
    "the message), 2 malformed command line, 3 (status) something needs repair.\n";

namespace {

bool IsOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '-';
}

// A whole number of seconds from 1 to 86400.
bool ParseSeconds(const std::string& text, std::uint32_t* seconds) {
  if (text.empty() || text.size() > 10) return false;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value < 1 || value > 86400) return false;
  *seconds = static_cast<std::uint32_t>(value);
  return true;
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& args, ConsoleArguments* parsed,
                    std::string* error) {
  *parsed = ConsoleArguments();
  if (args.empty()) {
    *error = "No command given.";
    return false;
  }
  const std::string& command = args[0];
  std::vector<std::string> operands;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (command == "status" && arg == "--json") {
      parsed->json = true;
    } else if (command == "install" && arg == "--default") {
      parsed->makeDefault = true;
    } else if (command == "fix-port" && arg == "--if-needed") {
      parsed->ifNeeded = true;
    } else if ((command == "attach" || command == "install") && arg == "--timeout") {
      if (i + 1 >= args.size() || !ParseSeconds(args[i + 1], &parsed->timeoutSeconds)) {
        *error = "--timeout needs a whole number of seconds from 1 to 86400.";
        parsed->withoutUsage = true;
        return false;
      }
      ++i;
    } else if (IsOption(arg)) {
      *error = "Unknown option \"" + arg + "\" for \"" + command + "\".";
      return false;
    } else {
      operands.push_back(arg);
    }
  }

  struct Known {
    const char* name;
    ConsoleCommand command;
    std::size_t minOperands, maxOperands;
  };
  static const Known kCommands[] = {
      {"--help", ConsoleCommand::Help, 0, 0},      {"-h", ConsoleCommand::Help, 0, 0},
      {"/?", ConsoleCommand::Help, 0, 0},          {"status", ConsoleCommand::Status, 0, 0},
      {"fix-port", ConsoleCommand::FixPort, 0, 0}, {"attach", ConsoleCommand::Attach, 1, 1},
      {"install", ConsoleCommand::Install, 1, 1},  {"set", ConsoleCommand::Set, 1, SIZE_MAX},
      {"export", ConsoleCommand::Export, 1, 1},
  };
  for (const Known& known : kCommands) {
    if (command != known.name) continue;
    if (operands.size() < known.minOperands) {
      *error = "\"" + command + "\" needs an argument.";
      return false;
    }
    if (operands.size() > known.maxOperands) {
      *error = "Too many arguments for \"" + command + "\".";
      return false;
    }
    parsed->command = known.command;
    if (known.command == ConsoleCommand::Set) {
      for (const std::string& assignment : operands) {
        if (assignment.find('=') == std::string::npos) {
          *error = "\"" + assignment + "\" is not NAME=VALUE.";
          return false;
        }
      }
      parsed->assignments = operands;
    } else if (!operands.empty()) {
      parsed->operand = operands[0];
    }
    return true;
  }
  *error = "Unknown command \"" + command + "\".";
  return false;
}

}  // namespace qv
