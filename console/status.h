// What "status" reports: read from the machine without changing it, with
// read-only opens that also work without administrator rights.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ghostscript/registrations.h"
#include "platform/files.h"
#include "platform/printers.h"
#include "platform/registry.h"

namespace qv {

struct StatusReport {
  std::string gsExe, gsDll;  // GSWIN32C and GS_DLL; empty when not stored
  bool gsExeExists = false, gsDllExists = false;
  // The versions the AFPL, GPL and Artifex families registered in the
  // 32-bit view, in that order, and the one the start-up search would end
  // with (-1: none, as when the stored GS_DLL exists).
  GhostscriptVersions registered;
  int chosen = -1;
  // Set when no 32-bit Ghostscript is found but a 64-bit one is registered
  // in the 64-bit view: that one's library.
  std::optional<std::string> only64bit;
  std::string driver;  // the port monitor's Driver; empty when missing
  bool driverOk = false;
  std::vector<std::string> differs;  // port values unlike Fix PDF Port's
  struct Printer {
    std::string name;  // as listed, in the system's code page
    std::string utf8;  // the printer's own name
    bool monitored;
    // Its name came through the code page: its port can be read and it
    // can be attached.
    bool addressable;
  };
  std::vector<Printer> printers;
  struct Option {
    const char* name;
    bool number;       // REG_DWORD rather than REG_SZ
    bool present;      // stored, with the right type
    std::string text;  // a string option's content
    std::int32_t value;
  };
  std::vector<Option> options;
  // The values of the wrong type, in the order read: setting names,
  // "Driver", and "Port (PRINTER)". Each reads as if missing besides.
  std::vector<std::string> invalid;

  bool Invalid(const std::string& name) const;

  // Both Ghostscript files exist, the Driver is the package's, every
  // port value is as Fix PDF Port writes it and no value read is of the
  // wrong type. Printers and options are reported, not judged.
  bool Healthy() const;
};

// Reads everything status reports; registry64 is the 64-bit view, null
// where there is none. Raises the platform's error when the printer list
// cannot be had.
StatusReport GatherStatus(Registry& reg, PrinterService& printers, IFileSystem& files,
                          IRegistryBackend* registry64 = nullptr);

// The report for people, lines in UTF-8 (toUtf8 converts the system code
// page's strings); control characters inside a value show as escapes (\r,
// \n, \t, \xNN).
std::string StatusText(const StatusReport& report,
                       const std::function<std::string(const std::string&)>& toUtf8);
// The report as one JSON object; toUtf8 converts the system code page's
// strings.
std::string StatusJson(const StatusReport& report,
                       const std::function<std::string(const std::string&)>& toUtf8);

}  // namespace qv
