#include "console/arguments.h"

#include <charconv>
#include <cstdint>

namespace qv {

std::string ConsoleUsage() {
  return "Usage: QuorvinConfigCmd <command> [options]\n"
         "\n"
         "Commands:\n"
         "  status [--json]         Report Ghostscript, the PDF port, the printers and the\n"
         "                          options; exit 0 when healthy, 3 when something needs "
         "repair.\n"
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
         "                          program started, 1 to 86400 seconds (" +
         std::to_string(kDefaultTimeoutSeconds) +
         " by default).\n"
         "  set NAME=VALUE...       Store options: defaultPDFFile, defaultPDFDir,\n"
         "                          defaultPDFAppend, promptPDF, finishMessage, launchPDFApp\n"
         "                          (0 or 1), GSWIN32C, GS_DLL.\n"
         "  export FILE             Write the settings, the port monitor and the PDF port as a\n"
         "                          .reg file for \"reg import FILE /reg:32\" on another machine.\n"
         "  --help                  Show this text.\n"
         "\n"
         "Exit codes: 0 done, 1 the machine refused or the change did not take effect (see\n"
         "the message), 2 malformed command line, 3 (status) something needs repair.\n";
}

namespace {

// The options, each a flag of the commands that take it.
enum OptionFlag : unsigned { kJson = 1, kDefault = 2, kIfNeeded = 4, kTimeout = 8 };

struct CommandRow {
  const char* name;
  ConsoleCommand command;
  unsigned options;  // the OptionFlags it takes
  std::size_t minOperands, maxOperands;
};
const CommandRow kCommands[] = {
    {"--help", ConsoleCommand::Help, 0, 0, 0},
    {"-h", ConsoleCommand::Help, 0, 0, 0},
    {"/?", ConsoleCommand::Help, 0, 0, 0},
    {"status", ConsoleCommand::Status, kJson, 0, 0},
    {"fix-port", ConsoleCommand::FixPort, kIfNeeded, 0, 0},
    {"attach", ConsoleCommand::Attach, kTimeout, 1, 1},
    {"install", ConsoleCommand::Install, kDefault | kTimeout, 1, 1},
    {"set", ConsoleCommand::Set, 0, 1, SIZE_MAX},
    {"export", ConsoleCommand::Export, 0, 1, 1},
};

struct SwitchRow {
  const char* name;
  OptionFlag flag;
  bool ConsoleArguments::*value;
};
const SwitchRow kSwitches[] = {
    {"--json", kJson, &ConsoleArguments::json},
    {"--default", kDefault, &ConsoleArguments::makeDefault},
    {"--if-needed", kIfNeeded, &ConsoleArguments::ifNeeded},
};

// A whole number of seconds from 1 to 86400.
bool ParseSeconds(const std::string& text, std::uint32_t* seconds) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end || value < 1 || value > 86400) return false;
  *seconds = value;
  return true;
}

// The options and operands after the command; false with the reason.
bool ParseRest(const std::vector<std::string>& args, const CommandRow& row,
               ConsoleArguments* parsed, std::vector<std::string>* operands, std::string* error) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool known = false;
    for (const SwitchRow& option : kSwitches) {
      if (arg == option.name && (row.options & option.flag) != 0) {
        parsed->*option.value = true;
        known = true;
      }
    }
    if (known) continue;
    if (arg == "--timeout" && (row.options & kTimeout) != 0) {
      if (i + 1 >= args.size() || !ParseSeconds(args[i + 1], &parsed->timeoutSeconds)) {
        *error = "--timeout needs a whole number of seconds from 1 to 86400.";
        parsed->withoutUsage = true;
        return false;
      }
      ++i;
    } else if (arg.size() > 1 && arg[0] == '-') {  // an option of another command
      *error = "Unknown option \"" + arg + "\" for \"" + args[0] + "\".";
      return false;
    } else {
      operands->push_back(arg);
    }
  }
  if (operands->size() < row.minOperands) {
    *error = "\"" + args[0] + "\" needs an argument.";
    return false;
  }
  if (operands->size() > row.maxOperands) {
    *error = "Too many arguments for \"" + args[0] + "\".";
    return false;
  }
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
  const CommandRow* row = nullptr;
  for (const CommandRow& known : kCommands) {
    if (args[0] == known.name) row = &known;
  }
  if (row == nullptr) {
    *error = "Unknown command \"" + args[0] + "\".";
    return false;
  }
  std::vector<std::string> operands;
  if (!ParseRest(args, *row, parsed, &operands, error)) return false;
  parsed->command = row->command;
  if (row->command == ConsoleCommand::Set) {
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

}  // namespace qv
