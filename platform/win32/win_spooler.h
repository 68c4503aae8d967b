// The print spooler and its dependent services from the service manager,
// and the printers' ports and drivers and the default printer from
// winspool.
#pragma once

#include "platform/spooler.h"

namespace qv {

class Win32Spooler : public ISpooler {
 public:
  ServiceState State(const std::string& service) override;
  std::vector<Service> RunningDependents() override;
  bool Stop(const std::string& service) override;
  bool Start(const std::string& service) override;
  std::optional<std::string> PrinterPort(const std::string& printer) override;
  std::optional<std::string> PrinterDriver(const std::string& printer) override;
  std::string DefaultPrinter() override;
};

}  // namespace qv
