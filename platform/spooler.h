// What the tool asks the service manager and the spooler, since the exit
// codes of the programs it starts cannot be trusted: the state of the
// print spooler and of the services that depend on it, stopping and
// starting those, the port and the driver a printer uses, and the default
// printer.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv {

enum class ServiceState {
  Stopped,
  Running,
  Changing,  // starting, stopping, pausing or paused
  Unknown,   // the service manager could not tell
};

constexpr const char* kSpoolerService = "Spooler";

struct Service {
  std::string name;         // the service's key name
  std::string displayName;  // as the Services console shows it
};

class ISpooler {
 public:
  virtual ~ISpooler() = default;
  // The state of a service (by its key name), as the service manager has it.
  virtual ServiceState State(const std::string& service = kSpoolerService) = 0;
  // The running services that depend on the spooler, in the order the
  // service manager gives (the order in which they can be stopped).
  virtual std::vector<Service> RunningDependents() = 0;
  // Asks a service to stop, or to start; false when the request was refused.
  virtual bool Stop(const std::string& service) = 0;
  virtual bool Start(const std::string& service) = 0;
  // The port the spooler reports for a printer; nullopt when the spooler
  // cannot open the printer (yet).
  virtual std::optional<std::string> PrinterPort(const std::string& printer) = 0;
  // The name of the driver (the model) the spooler reports for a printer;
  // nullopt when the spooler cannot open the printer.
  virtual std::optional<std::string> PrinterDriver(const std::string& printer) = 0;
  // The default printer's name in the system's code page; empty when there
  // is none or its name does not come through the code page exactly.
  virtual std::string DefaultPrinter() = 0;
};

}  // namespace qv
