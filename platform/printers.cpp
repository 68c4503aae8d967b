#include "platform/printers.h"

#include "platform/errors.h"

namespace qv {

void PrinterService::Refresh() {
  names_.clear();
  cached_ = false;
}

const std::vector<std::string>& PrinterService::Printers() {
  if (!cached_) {
    names_ = backend_.EnumPrinterNames();
    cached_ = true;
  }
  return names_;
}

void PrinterService::SetPrinterIndex(int index) {
  const auto& names = Printers();
  if (index < 0 || static_cast<std::size_t>(index) >= names.size()) {
    throw EPrinter("Printer index out of range");
  }
  index_ = index;
}

}  // namespace qv
