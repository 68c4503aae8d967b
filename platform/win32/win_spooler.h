// The print spooler's state from the service manager, and the default
// printer from winspool.
#pragma once

#include "platform/spooler.h"

namespace qv {

class Win32Spooler : public ISpooler {
 public:
  ServiceState State() override;
  std::string DefaultPrinter() override;
};

}  // namespace qv
