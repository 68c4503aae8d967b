// The machine's printers and the test of which of them feed the PDF port.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/printers.h"
#include "platform/registry.h"

namespace qv {

// The printers' names afresh, in the system's order. Raises the printer
// service's error when the system cannot list them. (No printer is made
// current: a machine without a default printer lists all of its printers.)
std::vector<std::string> ListPrinters(PrinterService& printers);

// Whether the printer sends its jobs to the PDF port: its key, opened with
// the given access, has a Port that is the PDF port's name exactly. A key
// that cannot be opened or has no Port reads as not monitored; a Port of
// the wrong type raises the registry's error. A name that did not come
// through the code page opens no key of this printer's (perhaps another
// printer's): never monitored.
bool IsMonitored(Registry& reg, const PrinterName& printer, KeyAccess access);

// The listed printer that a typed name means, as Windows matches printer
// names: the exact name, or else the one name equal to it when the case of
// A to Z is ignored. -1 for none.
int FindPrinter(const std::vector<std::string>& names, const std::string& typed,
                IFileSystem& files);

}  // namespace qv
