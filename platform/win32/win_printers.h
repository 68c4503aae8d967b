// The printer list from winspool.
#pragma once

#include "platform/printers.h"

namespace qv {

class Win32PrinterBackend : public IPrinterBackend {
 public:
  std::vector<PrinterName> EnumPrinterNames() override;
};

}  // namespace qv
