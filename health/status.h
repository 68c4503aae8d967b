// What status finds: the machine read without changing it, with read-only
// opens that also work without administrator rights, and what keeps PDF
// printing from working there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/settings.h"
#include "ghostscript/choose.h"
#include "platform/platform.h"
#include "printing/pdf_port.h"

namespace qv {

struct StatusReport {
  std::string gsExe, gsDll;  // GSWIN32C and GS_DLL; empty when not stored
  bool gsExeExists = false, gsDllExists = false;
  // GS_DLL is a 32-bit library, which the package's distiller can load;
  // unknown when it does not exist.
  std::optional<bool> gsDll32bit;
  // The registrations of the 32-bit view and the one the start-up search
  // takes, as ChooseGhostscript finds them.
  GhostscriptVersions registered;
  int chosen = -1;
  // Set when no 32-bit Ghostscript is found but a 64-bit one is registered
  // in the 64-bit view: that one's library.
  std::optional<std::string> only64bit;
  PdfPortState port;  // the port monitor and the PDF port as stored
  // The port monitor's library in the native system folder, and whether it
  // is there and built for this Windows' machine.
  std::string monitorFile;
  bool monitorFileOk = false;
  // Windows protected print mode: Windows loads no outside port monitor.
  bool protectedPrintMode = false;
  // The tool's folder: kFolderNotInCodePageText.
  bool folderNotInCodePage = false;
  bool runProgramExists = false, distillerExists = false;  // the files the port names
  struct Printer {
    std::string name;  // as listed, in the system's code page
    std::string utf8;  // the printer's own name
    bool monitored;
    // Its name came through the code page: its port can be read and it
    // can be attached.
    bool addressable;
    // For a monitored printer, the port detach would put back, in UTF-8;
    // nullopt when none is recorded.
    std::optional<std::string> previousPortUtf8 = std::nullopt;
  };
  std::vector<Printer> printers;
  std::vector<StoredOption> options;  // the six, as stored
  // The values of the wrong type, in the order read: setting names,
  // "Driver", and "Port (PRINTER)". Each reads as if missing besides.
  std::vector<std::string> invalid;
  // Those of invalid that are texts the code page cannot hold.
  std::vector<std::string> notInCodePage;

  bool Invalid(const std::string& name) const;
  bool NotInCodePage(const std::string& name) const;

  // What keeps PDF printing from working, each with its code and text, in
  // the fixed order of the table in Problems().
  struct Problem {
    const char* code;
    const char* text;
  };
  std::vector<Problem> Problems() const;
  // No problem at all: PDF printing can work.
  bool Healthy() const;
};

// The label of a printer's Port in StatusReport::invalid.
std::string PortLabel(const std::string& printer);

// Reads everything status reports, for the package in ownFolder. Raises
// the platform's error when the printer list cannot be had.
// A package folder the code page cannot hold (nullopt) is a problem of its
// own; the port's values are then compared with none.
StatusReport GatherStatus(Platform& platform, const std::optional<std::string>& ownFolder);

}  // namespace qv
