// The distiller's options: the settings record the window holds them in,
// the one table that lists them, and loading, saving and storing them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/registry_layout.h"
#include "platform/registry.h"

namespace qv {

struct SettingsRecord {
  std::string DefaultPdfFile;
  std::string DefaultPdfDir;
  std::string DefaultPdfAppend;
  std::int32_t PromptPdf = 0;      // non-zero: on
  std::int32_t FinishMessage = 0;  // non-zero: on
  std::int32_t LaunchPdfApp = 0;   // non-zero: on
};

enum class OptionType { Text, Flag };  // REG_SZ; REG_DWORD used as a flag

// What a row of the table is: one of the six options, which every start
// completes with its default and Save Changes writes; or one of
// Ghostscript's two paths, which the search stores and set and export take
// as well.
enum class OptionRole { Setting, GhostscriptPath };

struct Option {
  const char* name;  // the value's name in the settings key
  OptionType type;
  OptionRole role;
  const char* defaultText;  // a text setting's default; after the tool's folder when
  bool defaultInOwnFolder;  // defaultInOwnFolder is set
  std::int32_t defaultFlag;
  const char* control;  // the designer name of the control that shows it
  std::string SettingsRecord::*text;
  std::int32_t SettingsRecord::*flag;
};

// Every value of the settings key that set and export take, in the order
// they are loaded, saved and exported.
inline constexpr Option kOptions[] = {
    {layout::kDefaultPdfFile, OptionType::Text, OptionRole::Setting, layout::kDefaultPdfFileValue,
     false, 0, "Edit2", &SettingsRecord::DefaultPdfFile, nullptr},
    {layout::kDefaultPdfDir, OptionType::Text, OptionRole::Setting, layout::kDefaultPdfDirSuffix,
     true, 0, "Edit3", &SettingsRecord::DefaultPdfDir, nullptr},
    {layout::kDefaultPdfAppend, OptionType::Text, OptionRole::Setting,
     layout::kDefaultPdfAppendValue, false, 0, "Edit4", &SettingsRecord::DefaultPdfAppend, nullptr},
    {layout::kPromptPdf, OptionType::Flag, OptionRole::Setting, "", false,
     layout::kDefaultPromptPdf, "CheckBox1", nullptr, &SettingsRecord::PromptPdf},
    {layout::kFinishMessage, OptionType::Flag, OptionRole::Setting, "", false,
     layout::kDefaultFinishMessage, "CheckBox2", nullptr, &SettingsRecord::FinishMessage},
    {layout::kLaunchPdfApp, OptionType::Flag, OptionRole::Setting, "", false,
     layout::kDefaultLaunchPdfApp, "CheckBox3", nullptr, &SettingsRecord::LaunchPdfApp},
    {layout::kGsWin32c, OptionType::Text, OptionRole::GhostscriptPath, "", false, 0, "Edit5",
     nullptr, nullptr},
    {layout::kGsDll, OptionType::Text, OptionRole::GhostscriptPath, "", false, 0, "Edit6", nullptr,
     nullptr},
};

constexpr const char* kChangesSavedText = "Changes have been saved.";

class IFileSystem;

// Brings the settings key up to date at start: opens it (created when
// missing), writes userDesktopDir (kept as stored when the desktop is
// nullopt), reads every option and writes the default of each one that is
// missing, then closes the key. The default PDF folder lies in the tool's
// folder: without one, nothing is written for it. Raises the registry's
// error where a read or a write fails.
SettingsRecord LoadSettings(Registry& reg, const std::optional<std::string>& desktopFolder,
                            const std::optional<std::string>& ownFolder);

// Save Changes: writes the six options into the existing settings key.
void SaveSettings(Registry& reg, const SettingsRecord& settings);

// The row of the table with this name, compared as the registry compares
// value names (the case of A to Z ignored); null for none.
const Option* FindOption(const std::string& name, IFileSystem& files);

// Stores values into the settings key (created when missing): a flag as
// its number, a text as it is; a value stored so already is not written. Raises the registry's
// error at the first write that fails.
void StoreOptions(Registry& reg, const std::vector<std::pair<const Option*, std::string>>& values);

// An option as stored, read without changing anything: missing, of the
// wrong type (its read raises), or its text or number.
struct StoredOption {
  const Option* option = nullptr;
  bool present = false;        // stored, with the right type
  bool invalid = false;        // stored, but its read raises
  bool notInCodePage = false;  // invalid as a text the code page cannot hold
  std::string text;
  std::int32_t value = 0;
};
// The rows of one role, from the open key of reg.
std::vector<StoredOption> ReadStoredOptions(Registry& reg, OptionRole role);

}  // namespace qv
