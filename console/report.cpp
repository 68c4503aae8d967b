#include "console/report.h"

#include <cstdio>

#include "config/registry_layout.h"
#include "console/json.h"

namespace qv {
namespace {

namespace L = layout;

constexpr const char* kWrongType = "[wrong type]";
constexpr const char* kNotInCodePage = "[not in the code page]";

// A stored text as the plain report shows it: control characters as
// escapes, so that no value can add lines of its own to the report.
std::string Shown(const std::string& text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    char escape[8] = {c, 0};
    if (c == '\r' || c == '\n' || c == '\t') {
      std::snprintf(escape, sizeof escape, "\\%c", c == '\r' ? 'r' : c == '\n' ? 'n' : 't');
    } else if (byte < 0x20 || byte == 0x7F) {
      std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(byte));
    }
    shown += escape;
  }
  return shown;
}

using ToUtf8 = std::function<std::string(const std::string&)>;

// A stored path as the plain report shows it, and whether its file exists.
std::string StoredPath(const StatusReport& r, const char* name, const std::string& path,
                       bool exists) {
  if (r.Invalid(name)) return std::string(r.NotInCodePage(name) ? kNotInCodePage : kWrongType);
  return (path.empty() ? "(not stored)" : Shown(path)) + (exists ? "" : "  [missing]");
}

std::string GhostscriptLines(const StatusReport& r) {
  std::string text = "Ghostscript\n";
  text += "  GSWIN32C  " + StoredPath(r, L::kGsWin32c, r.gsExe, r.gsExeExists) + "\n";
  text += "  GS_DLL    " + StoredPath(r, L::kGsDll, r.gsDll, r.gsDllExists) +
          (r.gsDll32bit == false ? "  [not 32-bit]" : "") + "\n";
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
  return text;
}

std::string PortLines(const StatusReport& r) {
  std::string text = "PDF port\n";
  text += "  Driver    ";
  if (r.Invalid(L::kDriver)) {
    text += std::string(kWrongType) + "\n";
  } else {
    text += (r.port.driver.empty() ? std::string("(missing)") : Shown(r.port.driver)) +
            (r.port.driverOk ? "" : "  [not quorvinmonnt.dll]") + "\n";
  }
  text += "  Values    ";
  if (r.port.differs.empty()) {
    text += "as Fix PDF Port writes them\n";
  } else {
    text += "differ:";
    for (const std::string& name : r.port.differs) text += " " + name;
    text += "\n";
  }
  text += "  Monitor   " + Shown(r.monitorFile) +
          (r.monitorFileOk ? "" : "  [missing or not for this Windows]") + "\n";
  return text;
}

// The printers by their own names, in UTF-8: the code page may not hold
// them.
std::string PrinterLinesUtf8(const StatusReport& r) {
  std::string utf8;
  if (r.printers.empty()) utf8 += "  (none)\n";
  for (const auto& printer : r.printers) {
    const char* mark = r.Invalid(PortLabel(printer.name)) ? "  [Port of the wrong type]"
                       : printer.monitored                ? "  [monitored]"
                                                          : "";
    utf8 += "  " + Shown(printer.utf8) + mark + (printer.addressable ? "" : "  [not addressable]");
    if (printer.previousPortUtf8) utf8 += "  [previously " + *printer.previousPortUtf8 + "]";
    utf8 += "\n";
  }
  return utf8;
}

std::string OptionLines(const StatusReport& r) {
  std::string text = "Options\n";
  for (const auto& option : r.options) {
    text += "  " + std::string(option.option->name) + " = ";
    if (option.invalid) {
      text += std::string(option.notInCodePage ? kNotInCodePage : kWrongType) + "\n";
    } else if (!option.present) {
      text += "(not stored)\n";
    } else {
      text += (option.option->type == OptionType::Flag ? std::to_string(option.value)
                                                       : Shown(option.text)) +
              "\n";
    }
  }
  return text;
}

// Protected print mode, then each problem, or that there is none.
std::string WindowsAndProblemLines(const StatusReport& r) {
  std::string text = std::string("Windows\n  Protected print mode  ") +
                     (r.protectedPrintMode ? "on" : "off") + "\n";
  const auto problems = r.Problems();
  if (problems.empty()) text += "Healthy.\n";
  for (const auto& problem : problems) text += std::string(problem.text) + "\n";
  return text;
}

void WriteGhostscript(JsonWriter& json, const StatusReport& r, const ToUtf8& toUtf8) {
  json.Key("ghostscript").BeginObject();
  json.Key("GSWIN32C").String(toUtf8(r.gsExe)).Key("GS_DLL").String(toUtf8(r.gsDll));
  json.Key("GSWIN32C_exists").Bool(r.gsExeExists).Key("GS_DLL_exists").Bool(r.gsDllExists);
  json.Key("GS_DLL_32bit");
  r.gsDll32bit ? json.Bool(*r.gsDll32bit) : json.Null();
  json.Key("registered").BeginArray();
  for (std::size_t i = 0; i < r.registered.size(); ++i) {
    const GhostscriptVersion& version = r.registered[i];
    json.BeginObject().Key("family").String(version.family);
    json.Key("version").String(toUtf8(version.version)).Key("GS_DLL").String(toUtf8(version.gsDll));
    json.Key("exists").Bool(version.exists).Key("chosen").Bool(static_cast<int>(i) == r.chosen);
    json.EndObject();
  }
  json.EndArray().Key("only_64bit");
  r.only64bit ? json.String(toUtf8(*r.only64bit)) : json.Null();
  json.EndObject();
}

void WritePort(JsonWriter& json, const StatusReport& r, const ToUtf8& toUtf8) {
  json.Key("port").BeginObject();
  json.Key("driver").String(toUtf8(r.port.driver)).Key("driver_ok").Bool(r.port.driverOk);
  json.Key("differs").BeginArray();
  for (const std::string& name : r.port.differs) json.String(name);
  json.EndArray().Key("monitor_file").String(toUtf8(r.monitorFile));
  json.Key("monitor_file_ok").Bool(r.monitorFileOk).EndObject();
}

void WritePrinters(JsonWriter& json, const StatusReport& r) {
  json.Key("printers").BeginArray();
  for (const auto& printer : r.printers) {
    json.BeginObject().Key("name").String(printer.utf8);
    json.Key("monitored").Bool(printer.monitored);
    json.Key("previous_port");
    if (printer.previousPortUtf8) {
      json.String(*printer.previousPortUtf8);
    } else {
      json.Null();
    }
    json.Key("addressable").Bool(printer.addressable).EndObject();
  }
  json.EndArray();
}

void WriteOptions(JsonWriter& json, const StatusReport& r, const ToUtf8& toUtf8) {
  json.Key("options").BeginObject();
  for (const auto& option : r.options) {
    json.Key(option.option->name);
    if (!option.present) {
      json.Null();
    } else if (option.option->type == OptionType::Flag) {
      json.Number(option.value);
    } else {
      json.String(toUtf8(option.text));
    }
  }
  json.EndObject();
}

}  // namespace

std::string StatusText(const StatusReport& r, const ToUtf8& toUtf8) {
  std::string utf8 = toUtf8(GhostscriptLines(r) + PortLines(r) + "Printers\n");
  utf8 += PrinterLinesUtf8(r);
  return utf8 + toUtf8(OptionLines(r) + WindowsAndProblemLines(r));
}

std::string StatusJson(const StatusReport& r, const ToUtf8& toUtf8) {
  JsonWriter json;
  json.BeginObject().Key("healthy").Bool(r.Healthy());
  WriteGhostscript(json, r, toUtf8);
  WritePort(json, r, toUtf8);
  WritePrinters(json, r);
  WriteOptions(json, r, toUtf8);
  json.Key("invalid").BeginArray();
  for (const std::string& name : r.invalid) json.String(toUtf8(name));
  json.EndArray();
  json.Key("windows").BeginObject().Key("protected_print_mode").Bool(r.protectedPrintMode);
  json.EndObject();
  json.Key("problems").BeginArray();
  for (const auto& problem : r.Problems()) {
    json.BeginObject().Key("code").String(problem.code).Key("text").String(problem.text);
    json.EndObject();
  }
  json.EndArray().EndObject();
  return json.Text();
}

}  // namespace qv
