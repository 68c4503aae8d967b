// What the tool asks the system about the print spooler, since the exit
// codes of the programs it starts cannot be trusted: the spooler service's
// state and the default printer.
#pragma once

#include <string>

namespace qv {

enum class ServiceState {
  Stopped,
  Running,
  Changing,  // starting, stopping, pausing or paused
  Unknown,   // the service manager could not tell
};

class ISpooler {
 public:
  virtual ~ISpooler() = default;
  // The state of the print spooler service, as the service manager has it.
  virtual ServiceState State() = 0;
  // The default printer's name in the system's code page; empty when there
  // is none or its name does not come through the code page exactly.
  virtual std::string DefaultPrinter() = 0;
};

}  // namespace qv
