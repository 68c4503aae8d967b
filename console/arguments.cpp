#include "console/arguments.h"

#include <charconv>
#include <cstdint>
#include <sstream>

#include "console/commands.h"

namespace qv {
namespace {

struct OptionRow {
  const char* name;
  OptionFlag flag;
  bool ConsoleArguments::*value;  // a switch's; nullptr for --timeout, which takes a value
  const char* usage;              // as --help shows it beside a command
};
const OptionRow kOptionRows[] = {
    {"--check", kCheck, &ConsoleArguments::check, "[--check]"},
    {"--json", kJson, &ConsoleArguments::json, "[--json]"},
    {"--default", kDefault, &ConsoleArguments::makeDefault, "[--default]"},
    {"--if-needed", kIfNeeded, &ConsoleArguments::ifNeeded, "[--if-needed]"},
    {"--port", kPort, nullptr, "[--port PORT]"},
    {"--timeout", kTimeout, nullptr, "[--timeout SECONDS]"},
};

// Where --help starts the description of each command.
constexpr std::size_t kUsageColumn = 26;

// A command as --help names it: its operands, then its options.
std::string Synopsis(const ConsoleCommand& command) {
  std::string synopsis = command.name;
  if (command.operand != nullptr) {
    const std::string operand = command.operand;
    synopsis += " " + (command.minOperands == 0 ? "[" + operand + "]" : operand) +
                (command.maxOperands > 1 ? "..." : "");
  }
  for (const OptionRow& option : kOptionRows) {
    if ((command.options & option.flag) != 0) synopsis += std::string(" ") + option.usage;
  }
  return synopsis;
}

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
bool ParseRest(const std::vector<std::string>& args, const ConsoleCommand& command,
               ConsoleArguments* parsed, std::string* error) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool known = false;
    for (const OptionRow& option : kOptionRows) {
      if (arg == option.name && option.value != nullptr && (command.options & option.flag) != 0) {
        parsed->*option.value = true;
        known = true;
      }
    }
    if (known) continue;
    if (arg == "--timeout" && (command.options & kTimeout) != 0) {
      if (i + 1 >= args.size() || !ParseSeconds(args[i + 1], &parsed->timeoutSeconds)) {
        *error = "--timeout needs a whole number of seconds from 1 to 86400.";
        parsed->withoutUsage = true;
        return false;
      }
      ++i;
    } else if (arg == "--port" && (command.options & kPort) != 0) {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        *error = "--port needs the name of a port.";
        parsed->withoutUsage = true;
        return false;
      }
      parsed->port = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {  // an option of another command
      *error = "Unknown option \"" + arg + "\" for \"" + args[0] + "\".";
      return false;
    } else {
      parsed->operands.push_back(arg);
    }
  }
  if (parsed->operands.size() < command.minOperands) {
    *error = "\"" + args[0] + "\" needs an argument.";
    return false;
  }
  if (parsed->operands.size() > command.maxOperands) {
    *error = "Too many arguments for \"" + args[0] + "\".";
    return false;
  }
  return true;
}

const ConsoleCommand* FindCommand(const std::string& name) {
  for (const ConsoleCommand& command : ConsoleCommands()) {
    if (name == command.name) return &command;
    for (const char* alias : command.aliases) {
      if (name == alias) return &command;
    }
  }
  return nullptr;
}

}  // namespace

std::string ConsoleUsage() {
  std::string text = "Usage: QuorvinConfigCmd <command> [options]\n\nCommands:\n";
  for (const ConsoleCommand& command : ConsoleCommands()) {
    // The description starts beside a short synopsis, below a long one.
    std::string line = "  " + Synopsis(command);
    if (line.size() + 2 > kUsageColumn) {
      text += line + "\n";
      line.clear();
    }
    std::istringstream lines(command.usage);
    for (std::string usage; std::getline(lines, usage);) {
      line.resize(kUsageColumn, ' ');
      text += line + usage + "\n";
      line.clear();
    }
  }
  return text +
         "\n"
         "Exit codes: 0 done, 1 the machine refused or the change did not take effect (see\n"
         "the message), 2 malformed command line, 3 (status) something needs repair,\n"
         "(--check) something would change.\n";
}

bool ParseArguments(const std::vector<std::string>& args, ConsoleArguments* parsed,
                    std::string* error) {
  *parsed = ConsoleArguments();
  if (args.empty()) {
    *error = "No command given.";
    return false;
  }
  const ConsoleCommand* command = FindCommand(args[0]);
  if (command == nullptr) {
    *error = "Unknown command \"" + args[0] + "\".";
    return false;
  }
  if (!ParseRest(args, *command, parsed, error)) return false;
  if (command->assignments) {
    for (const std::string& assignment : parsed->operands) {
      if (assignment.find('=') == std::string::npos) {
        *error = "\"" + assignment + "\" is not " + command->operand + ".";
        return false;
      }
    }
  }
  parsed->command = command;
  return true;
}

}  // namespace qv
