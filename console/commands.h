// The console program's commands, one row each: how its command line is
// read, what --help says of it, and the handler that runs it. A new command
// is a row here and a handler in the file of its kind: read_commands.h for
// one that only reads the machine, change_commands.h for one that changes
// it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "console/arguments.h"
#include "console/console.h"

namespace qv {

// The options, each a flag of the commands that take it. --help lists a
// command's options in this order.
enum OptionFlag : unsigned {
  kCheck = 1,
  kJson = 2,
  kDefault = 4,
  kIfNeeded = 8,
  kPort = 16,
  kTimeout = 32,
};

struct ConsoleCommand {
  const char* name;
  unsigned options;     // the OptionFlags it takes
  const char* operand;  // its operands as --help names them; nullptr for none
  std::size_t minOperands, maxOperands;
  int (*run)(const ConsoleArguments& args, ConsoleServices& services);
  std::string usage;                      // what --help says it does: lines, each ending in '\n'
  bool assignments = false;               // each operand must be NAME=VALUE
  std::vector<const char*> aliases = {};  // other names that run it
};

// Every command, in the order --help lists them.
const std::vector<ConsoleCommand>& ConsoleCommands();

}  // namespace qv
