#include "config/settings.h"

#include "platform/errors.h"
#include "platform/files.h"

namespace qv {
namespace {

// A flag as its number, 1 for "1" and 0 otherwise; a text as it is.
void WriteOption(Registry& reg, const Option& option, const std::string& value) {
  if (option.type == OptionType::Flag) {
    reg.WriteInteger(option.name, value == "1" ? 1 : 0);
  } else {
    reg.WriteString(option.name, value);
  }
}

// The option is stored with this content and its own type already. Raises
// the registry's error when the value cannot be read; a value of another
// type is replaced.
bool Holds(Registry& reg, const Option& option, const std::string& value) {
  if (!reg.ValueExists(option.name)) return false;
  try {
    if (option.type == OptionType::Flag) {
      return reg.ReadInteger(option.name) == (value == "1" ? 1 : 0);
    }
    std::uint32_t type = 0;
    reg.ReadWideString(option.name, &type);
    return type == kRegSz && reg.ReadComparable(option.name) == value;
  } catch (const ERegistryException&) {
    return false;
  }
}

}  // namespace

SettingsRecord LoadSettings(Registry& reg, const std::optional<std::string>& desktopFolder,
                            const std::optional<std::string>& ownFolder) {
  SettingsRecord settings;
  reg.OpenKey(layout::kSettingsKey, true);
  if (desktopFolder) reg.WriteString(layout::kUserDesktopDir, *desktopFolder);
  for (const Option& option : kOptions) {
    if (option.role != OptionRole::Setting) continue;
    const bool stored = reg.ValueExists(option.name);
    if (option.type == OptionType::Flag) {
      settings.*option.flag = stored ? reg.ReadInteger(option.name) : option.defaultFlag;
      if (!stored) reg.WriteInteger(option.name, option.defaultFlag);
    } else {
      if (stored) {
        settings.*option.text = reg.ReadString(option.name);
      } else if (!option.defaultInOwnFolder || ownFolder) {
        settings.*option.text =
            (option.defaultInOwnFolder ? *ownFolder : std::string()) + option.defaultText;
        reg.WriteString(option.name, settings.*option.text);
      }
    }
  }
  reg.CloseKey();
  return settings;
}

void SaveSettings(Registry& reg, const SettingsRecord& settings) {
  reg.OpenKey(layout::kSettingsKey, false);
  for (const Option& option : kOptions) {
    if (option.role != OptionRole::Setting) continue;
    WriteOption(reg, option,
                option.type == OptionType::Flag ? (settings.*option.flag != 0 ? "1" : "0")
                                                : settings.*option.text);
  }
  reg.CloseKey();
}

const Option* FindOption(const std::string& name, IFileSystem& files) {
  for (const Option& option : kOptions) {
    if (SameIgnoringAsciiCase(name, option.name, files)) return &option;
  }
  return nullptr;
}

void StoreOptions(Registry& reg, const std::vector<std::pair<const Option*, std::string>>& values) {
  reg.OpenKey(layout::kSettingsKey, true);
  for (const auto& [option, value] : values) {
    if (!Holds(reg, *option, value)) WriteOption(reg, *option, value);
  }
  reg.CloseKey();
}

std::vector<StoredOption> ReadStoredOptions(Registry& reg, OptionRole role) {
  std::vector<StoredOption> stored;
  for (const Option& option : kOptions) {
    if (option.role != role) continue;
    StoredOption value;
    value.option = &option;
    try {
      if (reg.ValueExists(option.name)) {
        if (option.type == OptionType::Flag) {
          value.value = reg.ReadInteger(option.name);
        } else {
          value.text = reg.ReadString(option.name);
        }
        value.present = true;
      }
    } catch (const ENotInCodePage&) {
      value.invalid = value.notInCodePage = true;
    } catch (const ERegistryException&) {
      value.invalid = true;
    }
    stored.push_back(value);
  }
  return stored;
}

}  // namespace qv
