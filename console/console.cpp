#include "console/console.h"

#include "console/arguments.h"
#include "console/commands.h"

namespace qv {

int RunConsole(const std::vector<ConsoleArgument>& args, ConsoleServices& services) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!args[i].exact) {
      services.out.Write(Stream::Err, "Argument " + std::to_string(i + 1) +
                                          " holds characters that this system's code page "
                                          "cannot represent.\n");
      return kExitUsage;
    }
    texts.push_back(args[i].text);
  }
  return RunConsole(texts, services);
}

int RunConsole(const std::vector<std::string>& args, ConsoleServices& services) {
  ConsoleArguments parsed;
  std::string error;
  if (!ParseArguments(args, &parsed, &error)) {
    services.out.Write(Stream::Err, error + (parsed.withoutUsage ? "\n" : "\n\n" + ConsoleUsage()));
    return kExitUsage;
  }
  return parsed.command->run(parsed, services);
}

}  // namespace qv
