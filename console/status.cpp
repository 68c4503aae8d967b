#include "console/status.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

#include "config/registry_layout.h"
#include "console/json.h"
#include "platform/errors.h"

namespace qv {
namespace {

namespace L = layout;

constexpr const char* kWrongType = "[wrong type]";

// A value of the open key with the given type, or nothing when it is
// missing or of another type. One that is stored but cannot be read as
// that type (the window's read raises) is named in invalid, when given,
// as label or else by its name.
template <typename T>
std::optional<T> ValueOf(Registry& reg, const char* name, T (Registry::*read)(const std::string&),
                         std::vector<std::string>* invalid, const std::string& label) {
  if (!reg.ValueExists(name)) return std::nullopt;
  try {
    return (reg.*read)(name);
  } catch (const ERegistryException&) {
    if (invalid) invalid->push_back(label.empty() ? name : label);
    return std::nullopt;
  }
}

std::optional<std::string> StringValue(Registry& reg, const char* name,
                                       std::vector<std::string>* invalid = nullptr,
                                       const std::string& label = "") {
  return ValueOf(reg, name, &Registry::ReadString, invalid, label);
}

std::optional<std::int32_t> IntegerValue(Registry& reg, const char* name,
                                         std::vector<std::string>* invalid = nullptr) {
  return ValueOf(reg, name, &Registry::ReadInteger, invalid, "");
}

std::string PortLabel(const std::string& printer) {
  return std::string(L::kPort) + " (" + printer + ")";
}

// A stored text as the plain report shows it: control characters as
// escapes, so that no value can add lines of its own to the report.
std::string Shown(const std::string& text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c == '\t') {
      shown += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(byte));
      shown += escape;
    } else {
      shown += c;
    }
  }
  return shown;
}

// The Ghostscript registrations of the 32-bit view, the one the start-up
// search would end with, and a 64-bit Ghostscript when no 32-bit one is
// found. Needs report->gsDllExists.
void GatherGhostscript(Registry& reg, IFileSystem& files, IRegistryBackend* registry64,
                       StatusReport* report) {
  GhostscriptVersions& all = report->registered;
  ReadGhostscriptVersions(reg, L::kAfplGhostscriptFamily, files, &all);
  const int afplCount = static_cast<int>(all.size());
  for (const char* family : L::kLaterGhostscriptFamilies) {
    ReadGhostscriptVersions(reg, family, files, &all);
  }
  if (report->gsDllExists) return;  // the search reads no registration then

  // The AFPL registration: the last version with a GS_DLL; when its file is
  // missing, the highest later version whose file exists replaces it.
  int afplHit = -1;
  for (int i = 0; i < afplCount; ++i) {
    if (all[i].hasGsDll) afplHit = i;
  }
  report->chosen = afplHit;
  if (afplHit < 0 || !all[afplHit].exists) {
    const auto best = HighestInstalled(all.begin() + afplCount, all.end());
    if (best != all.end()) report->chosen = static_cast<int>(best - all.begin());
  }

  for (const GhostscriptVersion& version : all) {
    if (version.exists) return;
  }
  if (registry64 == nullptr) return;
  Registry reg64(*registry64);
  GhostscriptVersions versions64;
  for (const char* family : L::kLaterGhostscriptFamilies) {
    ReadGhostscriptVersions(reg64, family, files, &versions64);
  }
  const auto best = HighestInstalled(versions64.begin(), versions64.end());
  if (best != versions64.end()) report->only64bit = best->gsDll;
}

}  // namespace

std::vector<StatusReport::Problem> StatusReport::Problems() const {
  const bool pdfPrinter = std::any_of(printers.begin(), printers.end(),
                                      [](const Printer& printer) { return printer.monitored; });
  const std::pair<bool, Problem> checks[] = {
      {!gsExeExists, {"ghostscript_exe_missing", "gswin32c.exe is not stored or does not exist."}},
      {!gsDllExists, {"ghostscript_dll_missing", "gsdll32.dll is not stored or does not exist."}},
      {!driverOk, {"driver_wrong", "The port monitor is not registered as quorvinmonnt.dll."}},
      {!differs.empty(),
       {"port_values_differ", "Some PDF port values differ from what Fix PDF Port writes."}},
      {!runProgramExists, {"run_program_missing", "The PDF port's run program does not exist."}},
      {!distillerExists, {"distiller_missing", "The PDF port's distiller does not exist."}},
      {!pdfPrinter, {"no_pdf_printer", "No printer sends its jobs to the PDF port."}},
      {!invalid.empty(), {"invalid_value", "Some values have the wrong type."}},
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
  for (const std::string& entry : invalid) {
    if (entry == name) return true;
  }
  return false;
}

namespace {

// The port monitor's Driver and the PDF port's values, against what Fix PDF
// Port writes.
void ReadPdfPort(Registry& reg, IFileSystem& files, StatusReport* report) {
  reg.OpenKeyReadOnly(L::kMonitorKey);
  report->driver = StringValue(reg, L::kDriver, &report->invalid).value_or("");
  report->driverOk = report->driver == L::kMonitorDll;
  reg.CloseKey();

  const std::string ownFolder = ExtractFilePath(files.OwnExecutablePath(), files);
  reg.OpenKeyReadOnly(L::kPdfPortKey);
  for (const L::PortValue& value : L::kPdfPortValues) {
    const auto text = value.type == kRegDword ? std::nullopt : StringValue(reg, value.name);
    const bool same = value.type == kRegDword ? IntegerValue(reg, value.name) == value.number
                                              : text == L::PortValueText(value, ownFolder);
    if (!same) report->differs.push_back(value.name);
    if (std::string(value.name) == "Command") report->runProgram = text.value_or("");
    if (std::string(value.name) == "Arguments") report->distillerLine = text.value_or("");
  }
  reg.CloseKey();
}

}  // namespace

std::string DistillerPath(const std::string& arguments) {
  std::string path = arguments;
  const std::string placeholder = " %1";
  if (path.size() >= placeholder.size() &&
      path.compare(path.size() - placeholder.size(), placeholder.size(), placeholder) == 0) {
    path.erase(path.size() - placeholder.size());
  }
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
    path = path.substr(1, path.size() - 2);
  }
  return path;
}

bool PdfPortNeedsRepair(Registry& reg, IFileSystem& files) {
  StatusReport report;
  ReadPdfPort(reg, files, &report);
  return !report.driverOk || !report.differs.empty();
}

StatusReport GatherStatus(Registry& reg, PrinterService& printers, IFileSystem& files,
                          IRegistryBackend* registry64) {
  StatusReport report;
  reg.OpenKeyReadOnly(L::kSettingsKey);  // a missing key reads as empty values
  report.gsExe = StringValue(reg, L::kGsWin32c, &report.invalid).value_or("");
  report.gsDll = StringValue(reg, L::kGsDll, &report.invalid).value_or("");
  const char* const stringOptions[] = {L::kDefaultPdfFile, L::kDefaultPdfDir, L::kDefaultPdfAppend};
  for (const char* name : stringOptions) {
    const auto text = StringValue(reg, name, &report.invalid);
    report.options.push_back({name, false, text.has_value(), text.value_or(""), 0});
  }
  const char* const flagOptions[] = {L::kPromptPdf, L::kFinishMessage, L::kLaunchPdfApp};
  for (const char* name : flagOptions) {
    const auto value = IntegerValue(reg, name, &report.invalid);
    report.options.push_back({name, true, value.has_value(), "", value.value_or(0)});
  }
  reg.CloseKey();
  report.gsExeExists = files.FileExists(report.gsExe);
  report.gsDllExists = files.FileExists(report.gsDll);
  GatherGhostscript(reg, files, registry64, &report);

  ReadPdfPort(reg, files, &report);
  report.runProgramExists = files.FileExists(report.runProgram);
  report.distillerExists = files.FileExists(DistillerPath(report.distillerLine));

  printers.Refresh();
  const int count = static_cast<int>(printers.Printers().size());
  for (int i = 0; i < count; ++i) {
    const PrinterName& printer = printers.Entry(i);
    // A name that did not come through the code page names no key of
    // this printer's.
    bool monitored = false;
    if (printer.exact) {
      reg.OpenKeyReadOnly(L::kPrintersKeyPrefix + printer.name);
      const auto port = StringValue(reg, L::kPort, &report.invalid, PortLabel(printer.name));
      monitored = L::FeedsPdfPort(port.value_or(""));
      reg.CloseKey();
    }
    report.printers.push_back({printer.name, printer.utf8, monitored, printer.exact});
  }
  return report;
}

std::string StatusText(const StatusReport& r,
                       const std::function<std::string(const std::string&)>& toUtf8) {
  const auto found = [&](const char* name, const std::string& path, bool exists) {
    if (r.Invalid(name)) return std::string(kWrongType);
    return (path.empty() ? "(not stored)" : Shown(path)) + (exists ? "" : "  [missing]");
  };
  std::string text = "Ghostscript\n";
  text += "  GSWIN32C  " + found(L::kGsWin32c, r.gsExe, r.gsExeExists) + "\n";
  text += "  GS_DLL    " + found(L::kGsDll, r.gsDll, r.gsDllExists) + "\n";
  for (std::size_t i = 0; i < r.registered.size(); ++i) {
    const GhostscriptVersion& version = r.registered[i];
    const std::string path = version.gsDll.empty() ? "(no GS_DLL)" : Shown(version.gsDll);
    text += "  registered  " + version.family + " " + version.version + "  " + path +
            (static_cast<int>(i) == r.chosen ? "  [chosen]" : "") +
            (version.exists ? "" : "  [missing]") + "\n";
  }
  if (r.only64bit) {
    text += "  Only a 64-bit Ghostscript is installed (" + *r.only64bit +
            "); the package needs the 32-bit one.\n";
  }
  text += "PDF port\n";
  text += "  Driver    ";
  if (r.Invalid(L::kDriver)) {
    text += std::string(kWrongType) + "\n";
  } else {
    text += (r.driver.empty() ? std::string("(missing)") : Shown(r.driver)) +
            (r.driverOk ? "" : "  [not quorvinmonnt.dll]") + "\n";
  }
  text += "  Values    ";
  if (r.differs.empty()) {
    text += "as Fix PDF Port writes them\n";
  } else {
    text += "differ:";
    for (const std::string& name : r.differs) text += " " + name;
    text += "\n";
  }
  text += "Printers\n";
  // The printers by their own names, which the code page may not hold.
  std::string utf8 = toUtf8(text);
  text.clear();
  if (r.printers.empty()) utf8 += "  (none)\n";
  for (const auto& printer : r.printers) {
    const char* mark = r.Invalid(PortLabel(printer.name)) ? "  [Port of the wrong type]"
                       : printer.monitored                ? "  [monitored]"
                                                          : "";
    utf8 += "  " + Shown(printer.utf8) + mark + (printer.addressable ? "" : "  [not addressable]") +
            "\n";
  }
  text += "Options\n";
  for (const auto& option : r.options) {
    text += "  " + std::string(option.name) + " = ";
    if (r.Invalid(option.name)) {
      text += std::string(kWrongType) + "\n";
    } else if (!option.present) {
      text += "(not stored)\n";
    } else {
      text += (option.number ? std::to_string(option.value) : Shown(option.text)) + "\n";
    }
  }
  const auto problems = r.Problems();
  if (problems.empty()) text += "Healthy.\n";
  for (const auto& problem : problems) text += std::string(problem.text) + "\n";
  return utf8 + toUtf8(text);
}

std::string StatusJson(const StatusReport& r,
                       const std::function<std::string(const std::string&)>& toUtf8) {
  JsonWriter json;
  json.BeginObject().Key("healthy").Bool(r.Healthy());
  json.Key("ghostscript").BeginObject();
  json.Key("GSWIN32C").String(toUtf8(r.gsExe)).Key("GS_DLL").String(toUtf8(r.gsDll));
  json.Key("GSWIN32C_exists").Bool(r.gsExeExists).Key("GS_DLL_exists").Bool(r.gsDllExists);
  json.Key("registered").BeginArray();
  for (std::size_t i = 0; i < r.registered.size(); ++i) {
    const GhostscriptVersion& version = r.registered[i];
    json.BeginObject().Key("family").String(version.family);
    json.Key("version").String(toUtf8(version.version)).Key("GS_DLL").String(toUtf8(version.gsDll));
    json.Key("exists").Bool(version.exists).Key("chosen").Bool(static_cast<int>(i) == r.chosen);
    json.EndObject();
  }
  json.EndArray().Key("only_64bit");
  if (r.only64bit) {
    json.String(toUtf8(*r.only64bit));
  } else {
    json.Null();
  }
  json.EndObject();
  json.Key("port").BeginObject();
  json.Key("driver").String(toUtf8(r.driver)).Key("driver_ok").Bool(r.driverOk);
  json.Key("differs").BeginArray();
  for (const std::string& name : r.differs) json.String(name);
  json.EndArray().EndObject();
  json.Key("printers").BeginArray();
  for (const auto& printer : r.printers) {
    json.BeginObject().Key("name").String(printer.utf8);
    json.Key("monitored").Bool(printer.monitored);
    json.Key("addressable").Bool(printer.addressable).EndObject();
  }
  json.EndArray();
  json.Key("options").BeginObject();
  for (const auto& option : r.options) {
    json.Key(option.name);
    if (!option.present) {
      json.Null();
    } else if (option.number) {
      json.Number(option.value);
    } else {
      json.String(toUtf8(option.text));
    }
  }
  json.EndObject();
  json.Key("invalid").BeginArray();
  for (const std::string& name : r.invalid) json.String(toUtf8(name));
  json.EndArray();
  json.Key("problems").BeginArray();
  for (const auto& problem : r.Problems()) {
    json.BeginObject().Key("code").String(problem.code).Key("text").String(problem.text);
    json.EndObject();
  }
  json.EndArray().EndObject();
  return json.Text();
}

}  // namespace qv
