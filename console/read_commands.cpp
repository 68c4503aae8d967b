#include "console/read_commands.h"

#include <cstdio>
#include <optional>

#include "config/registry_layout.h"
#include "config/settings.h"
#include "console/command_support.h"
#include "console/report.h"
#include "health/status.h"
#include "platform/errors.h"
#include "platform/registry.h"

namespace qv {
namespace {

namespace L = layout;

// ASCII text (the layout's key and value names, numbers) as UTF-16.
std::u16string Wide(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

// A string's data as .reg bytes: its UTF-16LE with the terminating NUL,
// after prefix ("hex(1):", "hex(2):").
std::u16string RegHex(const char* prefix, const std::u16string& value) {
  std::string hex = prefix;
  char bytes[8];
  for (const char16_t unit : value) {
    std::snprintf(bytes, sizeof bytes, "%02x,%02x,", unit & 0xFFu,
                  static_cast<unsigned>(unit >> 8));
    hex += bytes;
  }
  return Wide(hex + "00,00");
}

// A string value as a .reg file line's data, keeping its type: a REG_SZ
// quoted, escaped character by character; as bytes when it holds a line
// break, which a quoted string cannot; a REG_EXPAND_SZ always as bytes.
std::u16string RegString(const std::u16string& value, std::uint32_t type) {
  if (type == kRegExpandSz) return RegHex("hex(2):", value);
  if (value.find_first_of(u"\r\n") != std::u16string::npos) return RegHex("hex(1):", value);
  std::u16string quoted = u"\"";
  for (const char16_t c : value) {
    if (c == u'\\' || c == u'"') quoted += u'\\';
    quoted += c;
  }
  return quoted + u"\"";
}

std::u16string RegDword(std::int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "dword:%08x", static_cast<unsigned>(value));
  return Wide(text);
}

}  // namespace

int StatusCommand(const ConsoleArguments& args, ConsoleServices& services) {
  std::optional<std::string> folder;
  if (!InPackageFolder(services, &folder)) return kExitRefused;
  StatusReport report;
  if (!RunReporting(services, [&] { report = GatherStatus(services.platform, folder); })) {
    return kExitRefused;
  }
  const auto toUtf8 = [&](const std::string& text) { return services.out.ToUtf8(text); };
  if (args.json) {
    services.out.WriteUtf8(Stream::Out, StatusJson(report, toUtf8));
  } else {
    services.out.WriteUtf8Text(Stream::Out, StatusText(report, toUtf8));
  }
  return report.Healthy() ? kExitDone : kExitNeedsRepair;
}

std::string RegistryExport(IRegistryBackend& registry) {
  Registry reg(registry);
  // As the registry editor writes it: UTF-16, which holds every character
  // the registry can, and imports the same whatever a machine's code page.
  std::u16string text = u"Windows Registry Editor Version 5.00\r\n";
  const auto section = [&](const char* key, auto values) {
    if (!reg.OpenKeyReadOnly(key)) return;
    text += u"\r\n[HKEY_LOCAL_MACHINE\\" + Wide(key) + u"]\r\n";
    values();
    reg.CloseKey();
  };
  const auto line = [&](const char* name, bool number) {
    if (!reg.ValueExists(name)) return;
    std::u16string data;
    if (number) {
      data = RegDword(reg.ReadInteger(name));
    } else {
      std::uint32_t type = kRegNone;
      const std::u16string value = reg.ReadWideString(name, &type);
      data = RegString(value, type);
    }
    text += u"\"" + Wide(name) + u"\"=" + data + u"\r\n";
  };
  section(L::kSettingsKey, [&] {
    // userDesktopDir belongs to each machine and its user; it is not taken.
    for (const Option& option : kOptions) line(option.name, option.type == OptionType::Flag);
  });
  section(L::kMonitorKey, [&] { line(L::kDriver, false); });
  section(L::kPdfPortKey, [&] {
    for (const L::PortValue& value : L::kPdfPortValues) line(value.name, value.type == kRegDword);
  });
  std::string bytes = "\xff\xfe";  // UTF-16LE's byte-order mark
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFFu);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

int ExportCommand(const ConsoleArguments& args, ConsoleServices& services) {
  const std::string& file = args.operands[0];
  if (file.empty()) {
    services.out.Write(Stream::Err, "\"export\" needs a file name, not an empty one.\n");
    return kExitUsage;
  }
  if (!RunReporting(services, [&] {
        const std::string data = RegistryExport(services.platform.registry);
        // The file is written whole or not at all (the file service sees
        // to that); a failure names it, as the system's text does not.
        try {
          services.platform.files.WriteFile(file, data);
        } catch (const ESystemError& e) {
          throw ESystemError("Could not write " + file + ".\r\n" + e.what());
        }
      })) {
    return kExitRefused;
  }
  services.out.Write(Stream::Out, "Exported to " + file + ".\n");
  return kExitDone;
}

}  // namespace qv
