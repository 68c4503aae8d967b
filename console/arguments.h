// The console program's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

enum class ConsoleCommand { Help, Status, FixPort, Attach, Install, Set, Export };

// The longest attach and install wait for each program they start, unless
// --timeout says otherwise.
constexpr std::uint32_t kDefaultTimeoutSeconds = 300;

struct ConsoleArguments {
  ConsoleCommand command = ConsoleCommand::Help;
  bool json = false;                                      // status --json
  bool makeDefault = false;                               // install --default
  bool ifNeeded = false;                                  // fix-port --if-needed
  std::uint32_t timeoutSeconds = kDefaultTimeoutSeconds;  // attach, install --timeout SECONDS
  // A malformed value of an option: its message is enough, without the
  // usage.
  bool withoutUsage = false;
  std::string operand;                   // attach PRINTER, install NAME, export FILE
  std::vector<std::string> assignments;  // set NAME=VALUE...
};

// Parses the arguments after the program's name. False, with the reason,
// for a malformed command line: no command, an unknown command or option,
// a missing or surplus argument, an assignment without '='.
bool ParseArguments(const std::vector<std::string>& args, ConsoleArguments* parsed,
                    std::string* error);

// The usage text.
std::string ConsoleUsage();

}  // namespace qv
