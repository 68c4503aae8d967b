// TfrmMain's handlers of the settings key: the Ghostscript search and its
// browse dialogs, loading and showing the options, choosing the default
// PDF file and Save Changes.
#include "app/main.h"
#include "config/registry_layout.h"
#include "ghostscript/choose.h"
#include "platform/errors.h"

namespace qv {
namespace {

// What the start-up says when it found no gswin32c.exe or gsdll32.dll.
std::string MissingText(const std::string& file) {
  return "We could not find " + file + " on your system.\rClick OK to browse for the " + file +
         " file on your system.\rNormally this file is located under c:\\gs\\gsx.xx\\bin "
         "(where x.xx is the version of GhostScript)\rIf you do not have GhostScript installed "
         "at this time, please do so as this program requires it.";
}

constexpr const char* kPromptWarning =
    "By checking the box \"Prompt me to save each PDF file\", we have to warn you.\r"
    "Because of the way Quorvin PDF works, it creates PDF's while running under a different "
    "account then your user account.\r"
    "So if you try to save something to specialized folder, such as the Desktop or My "
    "Documents, then they may not show up where you expect them to.\r"
    "So we suggest saving them to a folder directly under your C:\\ drive.\r"
    "Or browse to your specific Desktop folder (or wherever), rather than using the special "
    "folders.\r"
    "For example, your desktop would normally be either under...\r"
    "C:\\Documents and Settings\\yourusername\\Desktop\r"
    "OR\r"
    "C:\\WINNT\\Profiles\\yourusername\\Desktop\r"
    "\r"
    "Would you still like to be prompted to save each PDF file?";

}  // namespace

void TfrmMain::LocateGhostscript(Registry& reg) {
  const GhostscriptChoice choice = ChooseGhostscript(reg, platform_->files, KeyAccess::Full);
  // Every path found is stored at once, in the order found; a value that
  // could not be read then ends the search.
  for (const GhostscriptChoice::Store& store : choice.stores) {
    StoreGhostscriptPath(reg, store.name, store.path);
  }
  if (choice.error) throw ERegistryException(*choice.error);
  GsDllPath = choice.gsDll;
  GsExePath = choice.gsExe;
  if (choice.exeExists) {
    controls_.Edit5.SetText(GsExePath);
  } else {
    dialogs_.MessageBox(MissingText(layout::kGsExeName), "Can't find gswin32c.exe", kMbIconError);
    dialogs_.ExecuteOpen(OpenDialog1);
  }
  if (choice.dllExists) {
    controls_.Edit6.SetText(GsDllPath);
  } else {
    dialogs_.MessageBox(MissingText("gsdll32.dll"), "Can't find gsdll32.dll", kMbIconError);
    dialogs_.ExecuteOpen(OpenDialog2);
  }
}

void TfrmMain::LMDButton5Click() {
  Recorded(kEventGhostscriptPath, "Change gswin32c.exe", [this](CommandOutcome& outcome) {
    dialogs_.ExecuteOpen(OpenDialog1);
    outcome.Done(nullptr);
  });
}

void TfrmMain::LMDButton6Click() {
  Recorded(kEventGhostscriptPath, "Change gsdll32.dll", [this](CommandOutcome& outcome) {
    dialogs_.ExecuteOpen(OpenDialog2);
    outcome.Done(nullptr);
  });
}

void TfrmMain::OpenDialog1CanClose(FileDialog& dialog, bool& /*canClose*/) {
  TakeChosenPath(dialog.fileName, layout::kGsWin32c, GsExePath, controls_.Edit5);
}

void TfrmMain::OpenDialog2CanClose(FileDialog& dialog, bool& /*canClose*/) {
  TakeChosenPath(dialog.fileName, layout::kGsDll, GsDllPath, controls_.Edit6);
}

void TfrmMain::TakeChosenPath(const std::string& chosen, const char* valueName, std::string& path,
                              ITextControl& field) {
  // Stored first: a write that fails leaves the path and the field as
  // they were.
  {
    Registry reg(platform_->registry);
    StoreGhostscriptPath(reg, valueName, chosen);
  }
  path = chosen;
  field.SetText(path);
}

void TfrmMain::LoadSettings(Registry& reg, const std::optional<std::string>& desktopFolder) {
  settings = qv::LoadSettings(reg, desktopFolder, OwnFolder(platform_->files));
}

void TfrmMain::ShowSettings() {
  for (const Option& option : kOptions) {
    if (option.role != OptionRole::Setting) continue;
    if (option.type == OptionType::Flag) {
      controls_.Check(option.control).SetChecked(settings.*option.flag != 0);
    } else {
      controls_.Text(option.control).SetText(settings.*option.text);
    }
  }
  optionsShown_ = true;
}

void TfrmMain::LMDButton4Click() {
  SaveDialog3.initialDir = OwnFolder(platform_->files).value_or("");
  dialogs_.ExecuteSave(SaveDialog3);
  dialogs_.MessageBox("You still have to click Save Changes for these settings to take effect.",
                      "Warning", kMbIconInformation);
}

void TfrmMain::SaveDialog3CanClose(FileDialog& dialog, bool& /*canClose*/) {
  controls_.Edit2.SetText(ExtractFileName(dialog.fileName, platform_->files));
  controls_.Edit3.SetText(ExtractFilePath(dialog.fileName, platform_->files));
}

void TfrmMain::savechangesBtnClick() {
  // A start that ended before the Options group was filled leaves it blank
  // or with the initial texts: saving those would overwrite every stored
  // option.
  if (!optionsShown_) {
    dialogs_.MessageBox(
        "The stored options could not be read when this tool started, so nothing was saved "
        "over them.\rThe message shown at start-up names the cause.",
        "Changes Not Saved", kMbIconError);
    return;
  }
  if (controls_.CheckBox1.Checked() &&
      dialogs_.MessageBox(kPromptWarning, "Really Save Each PDF?", kMbYesNo | kMbIconExclamation) ==
          kIdNo) {
    controls_.CheckBox1.SetChecked(false);
  }
  // The texts are taken into the record; the flags are stored as the
  // boxes show them, 0 or 1.
  SettingsRecord saved = settings;
  for (const Option& option : kOptions) {
    if (option.role != OptionRole::Setting) continue;
    if (option.type == OptionType::Flag) {
      saved.*option.flag = controls_.Check(option.control).Checked() ? 1 : 0;
    } else {
      settings.*option.text = saved.*option.text = controls_.Text(option.control).Text();
    }
  }
  Recorded(kEventOptions, "Save Changes", [this, &saved](CommandOutcome& outcome) {
    {
      Registry reg(platform_->registry);
      SaveSettings(reg, saved);
    }
    outcome.Done(kChangesSavedText);
  });
  dialogs_.MessageBox(kChangesSavedText, "Changes Saved", kMbOk);
}

}  // namespace qv
