// Every registry key, value name and default the tool shares with the
// package's distiller, port monitor and the print spooler. All paths are
// under HKEY_LOCAL_MACHINE.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry_backend.h"

namespace qv::layout {

// The tool's own settings, read by the distiller.
constexpr const char* kSettingsKey = "SOFTWARE\\Hollisfield\\Quorvin PDF\\1.01";
constexpr const char* kGsDll = "GS_DLL";
constexpr const char* kGsWin32c = "GSWIN32C";
constexpr const char* kUserDesktopDir = "userDesktopDir";
constexpr const char* kDefaultPdfFile = "defaultPDFFile";
constexpr const char* kDefaultPdfDir = "defaultPDFDir";
constexpr const char* kDefaultPdfAppend = "defaultPDFAppend";
constexpr const char* kPromptPdf = "promptPDF";
constexpr const char* kFinishMessage = "finishMessage";
constexpr const char* kLaunchPdfApp = "launchPDFApp";

constexpr const char* kDefaultPdfFileValue = "QuorvinPDF.pdf";
constexpr const char* kDefaultPdfDirSuffix = "PDFs";  // after the tool's own folder
constexpr const char* kDefaultPdfAppendValue = "Copy";
constexpr int kDefaultPromptPdf = 0;
constexpr int kDefaultFinishMessage = 1;
constexpr int kDefaultLaunchPdfApp = 1;

// The port monitor and its PDF port, read by the spooler's port monitor.
constexpr const char* kMonitorKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF Port";
constexpr const char* kPortsKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF Port\\Ports";
constexpr const char* kPdfPortKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF Port\\Ports\\QuorvinPDF:";
constexpr const char* kDriver = "Driver";
constexpr const char* kMonitorDll = "quorvinmonnt.dll";
constexpr const char* kPdfPortName = "QuorvinPDF:";

// Windows protected print mode (Windows 11 24H2 and later), in the 64-bit
// view: the Group Policy "Configure Windows protected print" and the
// switch in Settings, each a REG_DWORD 1 when on.
constexpr const char* kProtectedPrintKey =
    "SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
constexpr const char* kProtectedPrintValues[] = {"WindowsProtectedPrintGroupPolicyState",
                                                 "WindowsProtectedPrintMode"};

// The package's run program, beside the tool (the distiller is named in
// the PDF port's Arguments).
constexpr const char* kRunProgramName = "qvpdfrun.exe";

// One value of the PDF port as Fix PDF Port writes it.
struct PortValue {
  const char* name;
  RegType type;         // kRegSz or kRegDword
  const char* text;     // a string's content
  bool inOwnFolder;     // the string follows the tool's own folder
  std::int32_t number;  // a DWORD's content
};

// The PDF port's twelve values, in the order they are written.
inline constexpr PortValue kPdfPortValues[] = {
    {"Description", kRegSz, "Quorvin PDF Port", false, 0},
    {"Command", kRegSz, "qvpdfrun.exe", true, 0},
    {"Arguments", kRegSz, "QVPDFDistiller.exe %1", true, 0},
    {"Printer", kRegSz, "", false, 0},
    {"Output", kRegDword, "", false, 0},
    {"ShowWindow", kRegDword, "", false, 2},
    {"RunUser", kRegDword, "", false, 1},
    {"Delay", kRegDword, "", false, 300},
    {"LogFileUse", kRegDword, "", false, 0},
    {"LogFileName", kRegSz, "", false, 0},
    {"LogFileDebug", kRegDword, "", false, 0},
    {"PrintError", kRegDword, "", false, 0},
};

// A string value's content for the tool in ownFolder.
inline std::string PortValueText(const PortValue& value, const std::string& ownFolder) {
  return (value.inOwnFolder ? ownFolder : std::string()) + value.text;
}

// The spooler's printer keys: this prefix followed by the printer's name.
constexpr const char* kPrintersKeyPrefix = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr const char* kPort = "Port";
// The printer's model, as the spooler keeps it in the printer's key.
constexpr const char* kPrinterDriver = "Printer Driver";

// The port each printer used before the tool pointed it at the PDF port,
// one REG_SZ a printer, named after the printer: what detach puts back.
constexpr const char* kPreviousPortsKey =
    "SOFTWARE\\Hollisfield\\Quorvin PDF\\1.01\\Previous Ports";

// A printer feeds the PDF port exactly when its Port is the PDF port's
// name, compared whole and with case.
inline bool FeedsPdfPort(const std::string& port) {
  return port == kPdfPortName;
}

// Ghostscript's own registration, only read. Both spellings name the same
// key; the registry compares key names without case.
constexpr const char* kGhostscriptKey = "SOFTWARE\\AFPL Ghostscript";
constexpr const char* kGhostscriptVersionPrefix = "SOFTWARE\\AFPL GhostScript\\";
constexpr const char* kGsExeName = "gswin32c.exe";

// Every Ghostscript family's registration is the key "SOFTWARE\" + family,
// with one subkey per version holding that version's GS_DLL. The AFPL one
// is the registration above; today's installers write the later ones,
// which are only ever opened read-only.
constexpr const char* kSoftwarePrefix = "SOFTWARE\\";
constexpr const char* kAfplGhostscriptFamily = "AFPL Ghostscript";
inline constexpr const char* kLaterGhostscriptFamilies[] = {"GPL Ghostscript",
                                                            "Artifex Ghostscript"};

// The driver package beside the tool, and the model it installs.
constexpr const char* kDriverInf = "PSDriver\\QuorvinPS.INF";
constexpr const char* kPrinterModel = "Quorvin PDF Printer";

}  // namespace qv::layout
