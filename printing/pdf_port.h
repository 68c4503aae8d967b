// The port monitor's registration and the PDF port's configuration: what
// Fix PDF Port writes for a package folder, how the stored values differ
// from it, and writing them.
#pragma once

#include <string>
#include <vector>

#include "platform/registry.h"

namespace qv {

constexpr const char* kPortRestoredText = "The default PDF port properties have been restored.";

// Writes the port monitor's Driver and all twelve values of the PDF port
// (creating the keys), for the tool in ownFolder. Raises the registry's
// error at the first step that fails; what was written before stays.
void WritePdfPort(Registry& reg, const std::string& ownFolder);

// The start-up's check: opens the port monitor key (created when missing)
// and tells whether its Driver is the package's monitor exactly. Leaves
// the key closed.
bool MonitorIsRegistered(Registry& reg);

// The stored registration against what WritePdfPort writes, read only.
struct PdfPortState {
  std::string driver;  // the stored Driver; empty when missing or unreadable
  bool driverOk = false;
  bool driverInvalid = false;        // Driver is there with the wrong type
  std::vector<std::string> differs;  // the port values unlike WritePdfPort's
  // The PDF port's Command (the run program) and Arguments (the
  // distiller's command line) as stored.
  std::string runProgram, distillerLine;
  bool NeedsRepair() const { return !driverOk || !differs.empty(); }
};
PdfPortState ReadPdfPortState(Registry& reg, const std::string& ownFolder);

// The distiller's file in the PDF port's Arguments: without a trailing
// " %1", then without surrounding double quotes.
std::string DistillerPath(const std::string& arguments);

}  // namespace qv
