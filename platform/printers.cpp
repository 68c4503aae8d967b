#include "platform/printers.h"

#include "platform/errors.h"

namespace qv {

void PrinterService::Refresh() {
  entries_.clear();
  names_.clear();
  cached_ = false;
}

const std::vector<std::string>& PrinterService::Printers() {
  if (!cached_) {
    entries_ = backend_.EnumPrinterNames();
    names_.clear();
    for (const PrinterName& entry : entries_) names_.push_back(entry.name);
    cached_ = true;
  }
  return names_;
}

const PrinterName& PrinterService::Entry(int index) {
  const auto& names = Printers();
  if (index < 0 || static_cast<std::size_t>(index) >= names.size()) {
    throw EPrinter("Printer index out of range");
  }
  return entries_[static_cast<std::size_t>(index)];
}

}  // namespace qv
