#include "printing/printer_list.h"

#include <algorithm>

#include "config/registry_layout.h"

namespace qv {

std::vector<std::string> ListPrinters(PrinterService& printers) {
  printers.Refresh();
  return printers.Printers();
}

bool IsMonitored(Registry& reg, const PrinterName& printer, KeyAccess access) {
  if (!printer.exact) return false;
  reg.CloseKey();  // a failing open must not leave another key to read from
  reg.OpenExisting(layout::kPrintersKeyPrefix + printer.name, access);
  // Only compared: a port the code page cannot hold is simply not ours.
  const bool monitored = layout::FeedsPdfPort(reg.ReadComparable(layout::kPort).value_or(""));
  reg.CloseKey();
  return monitored;
}

int FindPrinter(const std::vector<std::string>& names, const std::string& typed,
                IFileSystem& files) {
  const auto exact = std::find(names.begin(), names.end(), typed);
  if (exact != names.end()) return static_cast<int>(exact - names.begin());
  int found = -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!SameIgnoringAsciiCase(names[i], typed, files)) continue;
    if (found >= 0) return -1;
    found = static_cast<int>(i);
  }
  return found;
}

}  // namespace qv
