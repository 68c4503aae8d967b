// The Options group: choosing the default PDF file and folder, and saving
// all six options at once.
#include "app/main.h"
#include "config/registry_layout.h"
#include "platform/files.h"

namespace qv {
namespace {

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

void TfrmMain::LMDButton4Click() {
  SaveDialog3.initialDir = OwnFolder();
  platform_.dialogs.ExecuteSave(SaveDialog3);
  platform_.dialogs.MessageBox(
      "You still have to click Save Changes for these settings to take effect.", "Warning",
      kMbIconInformation);
}

void TfrmMain::SaveDialog3CanClose(FileDialog& dialog, bool& /*canClose*/) {
  controls_.Edit2.SetText(ExtractFileName(dialog.fileName, platform_.files));
  controls_.Edit3.SetText(ExtractFilePath(dialog.fileName, platform_.files));
}

void TfrmMain::savechangesBtnClick() {
  // A start that ended before the Options group was filled leaves it blank
  // or with the initial texts: saving those would overwrite every stored
  // option.
  if (!optionsShown_) {
    platform_.dialogs.MessageBox(
        "The stored options could not be read when this tool started, so nothing was saved "
        "over them.\rThe message shown at start-up names the cause.",
        "Changes Not Saved", kMbIconError);
    return;
  }
  if (controls_.CheckBox1.Checked()) {
    const int answer = platform_.dialogs.MessageBox(kPromptWarning, "Really Save Each PDF?",
                                                    kMbYesNo | kMbIconExclamation);
    if (answer == kIdNo) controls_.CheckBox1.SetChecked(false);
  }
  Registry reg(platform_.registry);
  settings.DefaultPdfFile = controls_.Edit2.Text();
  settings.DefaultPdfDir = controls_.Edit3.Text();
  settings.DefaultPdfAppend = controls_.Edit4.Text();
  const std::int32_t prompt = controls_.CheckBox1.Checked() ? 1 : 0;
  const std::int32_t finish = controls_.CheckBox2.Checked() ? 1 : 0;
  const std::int32_t launch = controls_.CheckBox3.Checked() ? 1 : 0;
  reg.OpenKey(layout::kSettingsKey, false);
  reg.WriteString(layout::kDefaultPdfFile, settings.DefaultPdfFile);
  reg.WriteString(layout::kDefaultPdfDir, settings.DefaultPdfDir);
  reg.WriteString(layout::kDefaultPdfAppend, settings.DefaultPdfAppend);
  reg.WriteInteger(layout::kPromptPdf, prompt);
  reg.WriteInteger(layout::kFinishMessage, finish);
  reg.WriteInteger(layout::kLaunchPdfApp, launch);
  reg.CloseKey();
  platform_.dialogs.MessageBox("Changes have been saved.", "Changes Saved", kMbOk);
}

}  // namespace qv
