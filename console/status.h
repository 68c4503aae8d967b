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
  // The PDF port's Command (the run program) and Arguments (the distiller's
  // command line), and whether the files they name exist.
  std::string runProgram, distillerLine;
  bool runProgramExists = false, distillerExists = false;
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

  // What keeps PDF printing from working, each with its code and text, in
  // a fixed order: a Ghostscript file missing, the Driver or a port value
  // unlike Fix PDF Port's, the run program or the distiller missing, no
  // printer on the PDF port, a value of the wrong type.
  struct Problem {
    const char* code;
    const char* text;
  };
  std::vector<Problem> Problems() const;
  // No problem at all: PDF printing can work.
  bool Healthy() const;
};

// Reads everything status reports; registry64 is the 64-bit view, null
// where there is none. Raises the platform's error when the printer list
// cannot be had.
StatusReport GatherStatus(Registry& reg, PrinterService& printers, IFileSystem& files,
                          IRegistryBackend* registry64 = nullptr);

// Whether fix-port has anything to write: the Driver or a PDF port value
// unlike Fix PDF Port's. Reads only.
bool PdfPortNeedsRepair(Registry& reg, IFileSystem& files);

// The distiller's file in the PDF port's Arguments: without a trailing
// " %1", then without surrounding double quotes.
std::string DistillerPath(const std::string& arguments);

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
