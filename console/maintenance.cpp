#include "console/maintenance.h"

#include <cstdio>

#include "config/registry_layout.h"
#include "config/settings.h"
#include "platform/commands.h"
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

bool RunReporting(ConsoleServices& services, const std::function<void()>& work) {
  CommandDispatcher commands([&services](const std::exception& error) {
    services.out.Write(Stream::Err, AsConsoleLines(ErrorDisplayText(error.what())));
  });
  commands.Execute(work);
  return commands.Errors() == 0;
}

int SetOptions(const std::vector<std::string>& assignments, ConsoleServices& services) {
  std::vector<std::pair<const Option*, std::string>> writes;
  for (std::size_t i = 0; i < assignments.size(); ++i) {
    const std::string& assignment = assignments[i];
    const auto equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    const std::string value = assignment.substr(equals + 1);
    const Option* option = FindOption(name, services.platform.files);
    if (option == nullptr) {
      std::string known;
      for (const Option& o : kOptions) known += std::string(known.empty() ? "" : ", ") + o.name;
      services.out.Write(Stream::Err,
                         "Unknown setting \"" + name + "\"; settable are " + known + ".\n");
      return kExitUsage;
    }
    if (option->type == OptionType::Flag && value != "0" && value != "1") {
      services.out.Write(Stream::Err,
                         std::string(option->name) + " takes 0 or 1, not \"" + value + "\".\n");
      return kExitUsage;
    }
    // A quote in a value is most often a typed "C:\My PDFs\" whose last
    // backslash made the closing quote part of the argument. set takes no
    // options, so assignment i is argument i + 2, counted as the code-page
    // refusal counts (the command is argument 1).
    if (option->type == OptionType::Text && value.find('"') != std::string::npos) {
      services.out.Write(
          Stream::Err,
          "Argument " + std::to_string(i + 2) +
              " holds a double quote (\"), which no path or file name can hold. In cmd.exe a "
              "backslash before the closing quote keeps the quote: leave that backslash out, or "
              "double it (\"defaultPDFDir=C:\\My PDFs\\\\\").\n");
      return kExitUsage;
    }
    writes.emplace_back(option, value);
  }
  if (!RunReporting(services, [&] {
        Registry reg(services.platform.registry);
        StoreOptions(reg, writes);
      })) {
    return kExitRefused;
  }
  services.out.Write(Stream::Out, std::string(kChangesSavedText) + "\n");
  return kExitDone;
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

int ExportSettings(const std::string& file, ConsoleServices& services) {
  if (!RunReporting(services, [&] {
        services.platform.files.WriteFile(file, RegistryExport(services.platform.registry));
      })) {
    return kExitRefused;
  }
  services.out.Write(Stream::Out, "Exported to " + file + ".\n");
  return kExitDone;
}

}  // namespace qv
