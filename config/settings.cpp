// Loading the distiller's options at start, with the defaults written for
// any that are missing, and showing them in the Options group.
#include "config/settings.h"

#include "app/main.h"
#include "config/registry_layout.h"
#include "platform/files.h"

namespace qv {

std::string QueryDesktopFolder(IFileSystem& files) {
  return files.DesktopFolder();
}

namespace {

// Reads a string option, or stores and returns its default when missing.
std::string LoadString(Registry& reg, const char* name, const std::string& fallback) {
  if (reg.ValueExists(name)) return reg.ReadString(name);
  reg.WriteString(name, fallback);
  return fallback;
}

std::int32_t LoadFlag(Registry& reg, const char* name, std::int32_t fallback) {
  if (reg.ValueExists(name)) return reg.ReadInteger(name);
  reg.WriteInteger(name, fallback);
  return fallback;
}

}  // namespace

void TfrmMain::LoadSettings(Registry& reg, const std::string& desktopFolder) {
  reg.OpenKey(layout::kSettingsKey, true);
  reg.WriteString(layout::kUserDesktopDir, desktopFolder);
  settings.DefaultPdfFile = LoadString(reg, layout::kDefaultPdfFile, layout::kDefaultPdfFileValue);
  settings.DefaultPdfDir =
      LoadString(reg, layout::kDefaultPdfDir, OwnFolder() + layout::kDefaultPdfDirSuffix);
  settings.DefaultPdfAppend =
      LoadString(reg, layout::kDefaultPdfAppend, layout::kDefaultPdfAppendValue);
  settings.PromptPdf = LoadFlag(reg, layout::kPromptPdf, layout::kDefaultPromptPdf);
  settings.FinishMessage = LoadFlag(reg, layout::kFinishMessage, layout::kDefaultFinishMessage);
  settings.LaunchPdfApp = LoadFlag(reg, layout::kLaunchPdfApp, layout::kDefaultLaunchPdfApp);
  reg.CloseKey();
}

void TfrmMain::ShowSettings() {
  controls_.Edit2.SetText(settings.DefaultPdfFile);
  controls_.Edit3.SetText(settings.DefaultPdfDir);
  controls_.Edit4.SetText(settings.DefaultPdfAppend);
  controls_.CheckBox1.SetChecked(settings.PromptPdf != 0);
  controls_.CheckBox2.SetChecked(settings.FinishMessage != 0);
  controls_.CheckBox3.SetChecked(settings.LaunchPdfApp != 0);
  optionsShown_ = true;
}

}  // namespace qv
