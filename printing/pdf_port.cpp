#include "printing/pdf_port.h"

#include <optional>

#include "config/registry_layout.h"
#include "platform/errors.h"

namespace qv {
namespace {

namespace L = layout;

// A value of the open key as the given read gives it; nothing when it is
// missing or cannot be read so.
template <typename T>
std::optional<T> Stored(Registry& reg, const char* name, T (Registry::*read)(const std::string&)) {
  try {
    if (reg.ValueExists(name)) return (reg.*read)(name);
  } catch (const ERegistryException&) {
  }
  return std::nullopt;
}

}  // namespace

void WritePdfPort(Registry& reg, const std::string& ownFolder) {
  reg.OpenKey(L::kMonitorKey, true);
  reg.WriteString(L::kDriver, L::kMonitorDll);
  reg.CloseKey();
  reg.CreateKey(L::kPortsKey);
  reg.OpenKey(L::kPdfPortKey, true);
  for (const L::PortValue& value : L::kPdfPortValues) {
    if (value.type == kRegDword) {
      reg.WriteInteger(value.name, value.number);
    } else {
      reg.WriteString(value.name, L::PortValueText(value, ownFolder));
    }
  }
  reg.CloseKey();
}

bool MonitorIsRegistered(Registry& reg) {
  reg.OpenKey(L::kMonitorKey, true);
  const bool ours = reg.ReadComparable(L::kDriver) == std::string(L::kMonitorDll);
  reg.CloseKey();
  return ours;
}

PdfPortState ReadPdfPortState(Registry& reg, const std::string& ownFolder) {
  PdfPortState state;
  reg.CloseKey();
  reg.OpenKeyReadOnly(L::kMonitorKey);
  try {
    state.driver = reg.ReadComparable(L::kDriver).value_or("");
  } catch (const ERegistryException&) {
    state.driverInvalid = true;
  }
  state.driverOk = state.driver == L::kMonitorDll;
  reg.CloseKey();

  reg.OpenKeyReadOnly(L::kPdfPortKey);
  for (const L::PortValue& value : L::kPdfPortValues) {
    const auto text =
        value.type == kRegDword ? std::nullopt : Stored(reg, value.name, &Registry::ReadString);
    const bool same = value.type == kRegDword
                          ? Stored(reg, value.name, &Registry::ReadInteger) == value.number
                          : text == L::PortValueText(value, ownFolder);
    if (!same) state.differs.push_back(value.name);
    if (std::string(value.name) == "Command") state.runProgram = text.value_or("");
    if (std::string(value.name) == "Arguments") state.distillerLine = text.value_or("");
  }
  reg.CloseKey();
  return state;
}

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

}  // namespace qv
