// The console program's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct ConsoleCommand;  // console/commands.h

// The longest attach and install wait for each program they start, unless
// --timeout says otherwise.
constexpr std::uint32_t kDefaultTimeoutSeconds = 300;

struct ConsoleArguments {
  const ConsoleCommand* command = nullptr;
  bool json = false;         // status, fix-port, attach, install, set --json
  bool check = false;        // fix-port, attach, install, set --check
  bool makeDefault = false;  // install --default
  bool ifNeeded = false;     // fix-port --if-needed
  std::uint32_t timeoutSeconds = kDefaultTimeoutSeconds;  // --timeout SECONDS
  std::optional<std::string> port;                        // detach --port PORT
  // A malformed value of an option: its message is enough, without the
  // usage.
  bool withoutUsage = false;
  // attach PRINTER, install NAME, set NAME=VALUE..., export FILE
  std::vector<std::string> operands;
};

// Parses the arguments after the program's name. False, with the reason,
// for a malformed command line: no command, an unknown command or option,
// a missing or surplus argument, an assignment without '='.
bool ParseArguments(const std::vector<std::string>& args, ConsoleArguments* parsed,
                    std::string* error);

// The usage text, from the rows of the commands.
std::string ConsoleUsage();

}  // namespace qv
