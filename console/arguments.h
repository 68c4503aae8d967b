// The console program's command line.
#pragma once

#include <string>
#include <vector>

namespace qv {

enum class ConsoleCommand { Help, Status, FixPort, Attach, Install, Set, Export };

struct ConsoleArguments {
  ConsoleCommand command = ConsoleCommand::Help;
  bool json = false;                     // status --json
  bool makeDefault = false;              // install --default
  std::string operand;                   // attach PRINTER, install NAME, export FILE
  std::vector<std::string> assignments;  // set NAME=VALUE...
};

// Parses the arguments after the program's name. False, with the reason,
// for a malformed command line: no command, an unknown command or option,
// a missing or surplus argument, an assignment without '='.
bool ParseArguments(const std::vector<std::string>& args, ConsoleArguments* parsed,
                    std::string* error);

// The usage text.
extern const char* const kConsoleUsage;

}  // namespace qv
