// The printer service: the machine's printer list, cached until refreshed,
// and the index of the current printer.
#pragma once

#include <string>
#include <vector>

namespace qv {

// A printer's name as the system gives it, and as the tool can use it.
struct PrinterName {
  // In the system's code page, with "?" for each character it cannot hold.
  std::string name;
  // The name is the printer's own. When it is not, no key or command of
  // the code page reaches this printer by it.
  bool exact = true;
  // The printer's own name in UTF-8.
  std::string utf8;
};

// What the system says about its printers: on the NT family, the names of
// the local printers and network connections (EnumPrinters, flags
// PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, level 4), in system order.
class IPrinterBackend {
 public:
  virtual ~IPrinterBackend() = default;
  // Raises ESystemError when the system cannot enumerate.
  virtual std::vector<PrinterName> EnumPrinterNames() = 0;
};

class PrinterService {
 public:
  explicit PrinterService(IPrinterBackend& backend) : backend_(backend) {}

  // Forgets the cached list.
  void Refresh();
  // The printer names, enumerated on first use after a refresh.
  const std::vector<std::string>& Printers();
  // Printer index of Printers(): whether its name is exact, and its own
  // name. Raises EPrinter "Printer index out of range".
  const PrinterName& Entry(int index);

 private:
  IPrinterBackend& backend_;
  std::vector<PrinterName> entries_;
  std::vector<std::string> names_;
  bool cached_ = false;
};

}  // namespace qv
