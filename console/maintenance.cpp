#include "console/maintenance.h"

#include <cstdio>

#include "app/commands.h"
#include "config/registry_layout.h"
#include "console/headless_dialogs.h"
#include "platform/registry.h"

namespace qv {
namespace {

namespace L = layout;

struct Settable {
  const char* name;
  bool flag;  // REG_DWORD 0 or 1; otherwise REG_SZ
};
constexpr Settable kSettable[] = {
    {L::kDefaultPdfFile, false}, {L::kDefaultPdfDir, false}, {L::kDefaultPdfAppend, false},
    {L::kPromptPdf, true},       {L::kFinishMessage, true},  {L::kLaunchPdfApp, true},
    {L::kGsWin32c, false},       {L::kGsDll, false},
};

// Value names compare as the registry compares them, without case.
bool SameName(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return i == a.size() && b[i] == '\0';
}

// Runs a command's registry work through a command boundary whose errors
// go to standard error; the exit code.
template <typename Work>
int RunReporting(ConsoleServices& services, Work work) {
  HeadlessDialogs dialogs(services.out);
  CommandDispatcher commands(dialogs);
  commands.Execute(work);
  return dialogs.Failed() ? kExitRefused : kExitDone;
}

// A REG_SZ as a .reg file line's data: quoted, or as bytes when it holds a
// line break, which a quoted string cannot.
std::string RegString(const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos) {
    std::string hex = "hex(1):";
    char byte[4];
    for (const char c : value) {
      std::snprintf(byte, sizeof byte, "%02x,", static_cast<unsigned char>(c));
      hex += byte;
    }
    return hex + "00";
  }
  std::string quoted = "\"";
  for (const char c : value) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string RegDword(std::int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "dword:%08x", static_cast<unsigned>(value));
  return text;
}

}  // namespace

int SetOptions(const std::vector<std::string>& assignments, ConsoleServices& services) {
  struct Write {
    const Settable* setting;
    std::string value;
  };
  std::vector<Write> writes;
  for (const std::string& assignment : assignments) {
    const auto equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    const std::string value = assignment.substr(equals + 1);
    const Settable* setting = nullptr;
    for (const Settable& s : kSettable) {
      if (SameName(name, s.name)) setting = &s;
    }
    if (setting == nullptr) {
      std::string known;
      for (const Settable& s : kSettable) known += std::string(known.empty() ? "" : ", ") + s.name;
      services.out.Write(Stream::Err,
                         "Unknown setting \"" + name + "\"; settable are " + known + ".\n");
      return kExitUsage;
    }
    if (setting->flag && value != "0" && value != "1") {
      services.out.Write(Stream::Err,
                         std::string(setting->name) + " takes 0 or 1, not \"" + value + "\".\n");
      return kExitUsage;
    }
    writes.push_back({setting, value});
  }
  const int code = RunReporting(services, [&] {
    Registry reg(services.registry);
    reg.OpenKey(L::kSettingsKey, true);
    for (const Write& write : writes) {
      if (write.setting->flag) {
        reg.WriteInteger(write.setting->name, write.value == "1" ? 1 : 0);
      } else {
        reg.WriteString(write.setting->name, write.value);
      }
    }
    reg.CloseKey();
  });
  if (code == kExitDone) services.out.Write(Stream::Out, "Changes have been saved.\n");
  return code;
}

std::string RegistryExport(IRegistryBackend& registry) {
  Registry reg(registry);
  std::string text = "REGEDIT4\r\n";
  const auto section = [&](const char* key, auto values) {
    if (!reg.OpenKeyReadOnly(key)) return;
    text += "\r\n[HKEY_LOCAL_MACHINE\\" + std::string(key) + "]\r\n";
    values();
    reg.CloseKey();
  };
  const auto line = [&](const char* name, bool number) {
    if (!reg.ValueExists(name)) return;
    text += "\"" + std::string(name) +
            "\"=" + (number ? RegDword(reg.ReadInteger(name)) : RegString(reg.ReadString(name))) +
            "\r\n";
  };
  section(L::kSettingsKey, [&] {
    // userDesktopDir belongs to each machine and its user; it is not taken.
    for (const Settable& s : kSettable) line(s.name, s.flag);
  });
  section(L::kMonitorKey, [&] { line(L::kDriver, false); });
  section(L::kPdfPortKey, [&] {
    for (const L::PortValue& value : L::kPdfPortValues) line(value.name, value.type == kRegDword);
  });
  return text;
}

int ExportSettings(const std::string& file, ConsoleServices& services) {
  const int code = RunReporting(
      services, [&] { services.files.WriteFile(file, RegistryExport(services.registry)); });
  if (code == kExitDone) services.out.Write(Stream::Out, "Exported to " + file + ".\n");
  return code;
}

}  // namespace qv
