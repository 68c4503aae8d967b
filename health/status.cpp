#include "health/status.h"

#include <algorithm>
#include <utility>

#include "config/registry_layout.h"
#include "platform/errors.h"
#include "printing/attach.h"
#include "printing/printer_list.h"

namespace qv {
namespace {

namespace L = layout;

// A 64-bit Ghostscript, when the 32-bit view has none whose library exists.
std::optional<std::string> Only64Bit(const StatusReport& report, IFileSystem& files,
                                     IRegistryBackend* registry64) {
  const auto exists = [](const GhostscriptVersion& v) { return v.exists; };
  if (registry64 == nullptr || report.gsDllExists ||
      std::any_of(report.registered.begin(), report.registered.end(), exists)) {
    return std::nullopt;
  }
  Registry reg64(*registry64);
  GhostscriptVersions versions64;
  ReadLaterGhostscriptVersions(reg64, files, &versions64);
  const auto best = HighestInstalled(versions64.begin(), versions64.end());
  if (best == versions64.end()) return std::nullopt;
  return best->gsDll;
}

// Read-only; the key is never created. Off unless a value is the DWORD 1.
bool ProtectedPrintMode(IRegistryBackend& registry64) {
  Registry reg(registry64);
  if (!reg.OpenKeyReadOnly(L::kProtectedPrintKey)) return false;
  for (const char* name : L::kProtectedPrintValues) {
    try {
      if (reg.ValueExists(name) && reg.ReadInteger(name) == 1) return true;
    } catch (const ERegistryException&) {
      // Of another type: not a policy that is on.
    }
  }
  return false;
}

}  // namespace

std::string PortLabel(const std::string& printer) {
  return std::string(L::kPort) + " (" + printer + ")";
}

std::vector<StatusReport::Problem> StatusReport::Problems() const {
  const bool pdfPrinter = std::any_of(printers.begin(), printers.end(),
                                      [](const Printer& printer) { return printer.monitored; });
  // Every problem with the check that finds it, in the order listed.
  const std::pair<bool, Problem> checks[] = {
      {!gsExeExists, {"ghostscript_exe_missing", "gswin32c.exe is not stored or does not exist."}},
      {!gsDllExists, {"ghostscript_dll_missing", "gsdll32.dll is not stored or does not exist."}},
      {!port.driverOk, {"driver_wrong", "The port monitor is not registered as quorvinmonnt.dll."}},
      {!port.differs.empty(),
       {"port_values_differ", "Some PDF port values differ from what Fix PDF Port writes."}},
      {!runProgramExists, {"run_program_missing", "The PDF port's run program does not exist."}},
      {!distillerExists, {"distiller_missing", "The PDF port's distiller does not exist."}},
      {!pdfPrinter, {"no_pdf_printer", "No printer sends its jobs to the PDF port."}},
      {invalid.size() > notInCodePage.size(),
       {"invalid_value", "Some values have the wrong type."}},
      {protectedPrintMode,
       {"protected_print_mode",
        "Windows protected print mode is on; it loads no port monitor or printer driver from "
        "outside Windows."}},
      {!monitorFileOk,
       {"monitor_missing",
        "quorvinmonnt.dll is not in the system folder, or is not built for this Windows."}},
      {gsDll32bit == false,
       {"ghostscript_not_32bit",
        "gsdll32.dll is not a 32-bit library; the package needs the 32-bit Ghostscript."}},
      {folderNotInCodePage,
       {"folder_not_in_code_page",
        "This tool's folder holds characters that this system's code page cannot represent, "
        "and it has no short name. Install the package in a folder whose name this code page "
        "can hold."}},
      {!notInCodePage.empty(),
       {"value_not_in_code_page",
        "Some values hold characters that this system's code page cannot represent."}},
  };
  std::vector<Problem> problems;
  for (const auto& check : checks) {
    if (check.first) problems.push_back(check.second);
  }
  return problems;
}

bool StatusReport::Healthy() const {
  return Problems().empty();
}

bool StatusReport::Invalid(const std::string& name) const {
  return std::find(invalid.begin(), invalid.end(), name) != invalid.end();
}

bool StatusReport::NotInCodePage(const std::string& name) const {
  return std::find(notInCodePage.begin(), notInCodePage.end(), name) != notInCodePage.end();
}

StatusReport GatherStatus(Platform& platform, const std::optional<std::string>& ownFolder) {
  IFileSystem& files = platform.files;
  StatusReport report;
  Registry reg(platform.registry);
  reg.OpenKeyReadOnly(L::kSettingsKey);  // a missing key reads as empty values
  for (const OptionRole role : {OptionRole::GhostscriptPath, OptionRole::Setting}) {
    for (const StoredOption& stored : ReadStoredOptions(reg, role)) {
      if (stored.invalid) report.invalid.push_back(stored.option->name);
      if (stored.notInCodePage) report.notInCodePage.push_back(stored.option->name);
      if (role == OptionRole::Setting) report.options.push_back(stored);
      if (stored.option->name == std::string(L::kGsWin32c)) report.gsExe = stored.text;
      if (stored.option->name == std::string(L::kGsDll)) report.gsDll = stored.text;
    }
  }
  reg.CloseKey();
  report.gsExeExists = files.FileExists(report.gsExe);
  report.gsDllExists = files.FileExists(report.gsDll);
  if (report.gsDllExists) report.gsDll32bit = PeMachine(files, report.gsDll) == kMachineX86;
  GhostscriptChoice choice = ChooseGhostscript(reg, files, KeyAccess::ReadOnly);
  report.registered = std::move(choice.registered);
  report.chosen = choice.chosen;
  report.only64bit = Only64Bit(report, files, platform.registry64);

  report.folderNotInCodePage = !ownFolder;
  report.port = ReadPdfPortState(reg, ownFolder.value_or(""));
  if (report.port.driverInvalid) report.invalid.push_back(L::kDriver);
  report.runProgramExists = files.FileExists(report.port.runProgram);
  report.distillerExists = files.FileExists(DistillerPath(report.port.distillerLine));
  report.monitorFile = files.NativeSystemFolder() + "\\" + L::kMonitorDll;
  report.monitorFileOk = files.FileExists(report.monitorFile) &&
                         PeMachine(files, report.monitorFile) == files.NativeMachine();
  report.protectedPrintMode =
      ProtectedPrintMode(platform.registry64 != nullptr ? *platform.registry64 : platform.registry);

  PrinterService& printers = platform.printers;
  printers.Refresh();
  const int count = static_cast<int>(printers.Printers().size());
  for (int i = 0; i < count; ++i) {
    const PrinterName& printer = printers.Entry(i);
    bool monitored = false;
    try {
      monitored = IsMonitored(reg, printer, KeyAccess::ReadOnly);
    } catch (const ERegistryException&) {
      reg.CloseKey();
      report.invalid.push_back(PortLabel(printer.name));
    }
    std::optional<std::string> previous;
    if (monitored) {
      previous = RecordedPort(reg, printer.name, KeyAccess::ReadOnly);
      if (previous) previous = platform.files.ToUtf8(*previous);
    }
    report.printers.push_back({printer.name, printer.utf8, monitored, printer.exact, previous});
  }
  return report;
}

}  // namespace qv
