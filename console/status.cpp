#include "console/status.h"

#include <optional>

#include "config/registry_layout.h"
#include "console/json.h"
#include "platform/errors.h"

namespace qv {
namespace {

namespace L = layout;

// A value of the open key with the given type, or nothing when it is
// missing or of another type.
template <typename T>
std::optional<T> ValueOf(Registry& reg, const char* name, T (Registry::*read)(const std::string&)) {
  if (!reg.ValueExists(name)) return std::nullopt;
  try {
    return (reg.*read)(name);
  } catch (const ERegistryException&) {
    return std::nullopt;
  }
}

std::optional<std::string> StringValue(Registry& reg, const char* name) {
  return ValueOf(reg, name, &Registry::ReadString);
}

std::optional<std::int32_t> IntegerValue(Registry& reg, const char* name) {
  return ValueOf(reg, name, &Registry::ReadInteger);
}

}  // namespace

bool StatusReport::Healthy() const {
  return gsExeExists && gsDllExists && driverOk && differs.empty();
}

StatusReport GatherStatus(Registry& reg, PrinterService& printers, IFileSystem& files) {
  StatusReport report;
  reg.OpenKeyReadOnly(L::kSettingsKey);  // a missing key reads as empty values
  report.gsExe = StringValue(reg, L::kGsWin32c).value_or("");
  report.gsDll = StringValue(reg, L::kGsDll).value_or("");
  const char* const stringOptions[] = {L::kDefaultPdfFile, L::kDefaultPdfDir, L::kDefaultPdfAppend};
  for (const char* name : stringOptions) {
    const auto text = StringValue(reg, name);
    report.options.push_back({name, false, text.has_value(), text.value_or(""), 0});
  }
  const char* const flagOptions[] = {L::kPromptPdf, L::kFinishMessage, L::kLaunchPdfApp};
  for (const char* name : flagOptions) {
    const auto value = IntegerValue(reg, name);
    report.options.push_back({name, true, value.has_value(), "", value.value_or(0)});
  }
  reg.CloseKey();
  report.gsExeExists = files.FileExists(report.gsExe);
  report.gsDllExists = files.FileExists(report.gsDll);

  reg.OpenKeyReadOnly(L::kMonitorKey);
  report.driver = StringValue(reg, L::kDriver).value_or("");
  report.driverOk = report.driver == L::kMonitorDll;
  reg.CloseKey();

  const std::string ownFolder = ExtractFilePath(files.OwnExecutablePath(), files);
  reg.OpenKeyReadOnly(L::kPdfPortKey);
  for (const L::PortValue& value : L::kPdfPortValues) {
    const bool same = value.type == kRegDword
                          ? IntegerValue(reg, value.name) == value.number
                          : StringValue(reg, value.name) == L::PortValueText(value, ownFolder);
    if (!same) report.differs.push_back(value.name);
  }
  reg.CloseKey();

  printers.Refresh();
  const int count = static_cast<int>(printers.Printers().size());
  for (int i = 0; i < count; ++i) {
    const PrinterName& printer = printers.Entry(i);
    // A name that did not come through the code page names no key of
    // this printer's.
    bool monitored = false;
    if (printer.exact) {
      reg.OpenKeyReadOnly(L::kPrintersKeyPrefix + printer.name);
      monitored = L::FeedsPdfPort(StringValue(reg, L::kPort).value_or(""));
      reg.CloseKey();
    }
    report.printers.push_back({printer.name, printer.utf8, monitored, printer.exact});
  }
  return report;
}

std::string StatusText(const StatusReport& r,
                       const std::function<std::string(const std::string&)>& toUtf8) {
  const auto found = [](const std::string& path, bool exists) {
    return (path.empty() ? "(not stored)" : path) + (exists ? "" : "  [missing]");
  };
  std::string text = "Ghostscript\n";
  text += "  GSWIN32C  " + found(r.gsExe, r.gsExeExists) + "\n";
  text += "  GS_DLL    " + found(r.gsDll, r.gsDllExists) + "\n";
  text += "PDF port\n";
  text += "  Driver    " + (r.driver.empty() ? std::string("(missing)") : r.driver) +
          (r.driverOk ? "" : "  [not quorvinmonnt.dll]") + "\n";
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
    utf8 += "  " + printer.utf8 + (printer.monitored ? "  [monitored]" : "") +
            (printer.addressable ? "" : "  [not addressable]") + "\n";
  }
  text += "Options\n";
  for (const auto& option : r.options) {
    text += "  " + std::string(option.name) + " = ";
    if (!option.present) {
      text += "(not stored)\n";
    } else {
      text += (option.number ? std::to_string(option.value) : option.text) + "\n";
    }
  }
  text += r.Healthy() ? "Healthy.\n" : "Needs repair.\n";
  return utf8 + toUtf8(text);
}

std::string StatusJson(const StatusReport& r,
                       const std::function<std::string(const std::string&)>& toUtf8) {
  JsonWriter json;
  json.BeginObject().Key("healthy").Bool(r.Healthy());
  json.Key("ghostscript").BeginObject();
  json.Key("GSWIN32C").String(toUtf8(r.gsExe)).Key("GS_DLL").String(toUtf8(r.gsDll));
  json.Key("GSWIN32C_exists").Bool(r.gsExeExists).Key("GS_DLL_exists").Bool(r.gsDllExists);
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
  json.EndObject().EndObject();
  return json.Text();
}

}  // namespace qv
