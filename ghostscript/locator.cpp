// Finding Ghostscript's gsdll32.dll and gswin32c.exe: from the stored
// paths, from Ghostscript's own registrations, by deriving the program from
// the library's folder, or by asking the user to browse. Every path found
// or chosen is stored at once.
#include <vector>

#include "app/main.h"
#include "config/registry_layout.h"
#include "ghostscript/registrations.h"
#include "platform/files.h"

namespace qv {
namespace {

constexpr const char* kMissingExeText =
    "We could not find gswin32c.exe on your system.\r"
    "Click OK to browse for the gswin32c.exe file on your system.\r"
    "Normally this file is located under c:\\gs\\gsx.xx\\bin (where x.xx is the version of "
    "GhostScript)\r"
    "If you do not have GhostScript installed at this time, please do so as this program "
    "requires it.";

constexpr const char* kMissingDllText =
    "We could not find gsdll32.dll on your system.\r"
    "Click OK to browse for the gsdll32.dll file on your system.\r"
    "Normally this file is located under c:\\gs\\gsx.xx\\bin (where x.xx is the version of "
    "GhostScript)\r"
    "If you do not have GhostScript installed at this time, please do so as this program "
    "requires it.";

// Stores a path in the settings key straight away.
void StorePath(Registry& reg, const char* name, const std::string& path) {
  reg.OpenKey(layout::kSettingsKey, true);
  reg.WriteString(name, path);
  reg.CloseKey();
}

}  // namespace

void TfrmMain::LocateGhostscript(Registry& reg) {
  IFileSystem& files = platform_.files;

  // 1. The paths stored by an earlier run.
  if (reg.KeyExists(layout::kSettingsKey)) {
    reg.OpenKey(layout::kSettingsKey, true);
    if (reg.ValueExists(layout::kGsDll)) GsDllPath = reg.ReadString(layout::kGsDll);
    if (reg.ValueExists(layout::kGsWin32c)) GsExePath = reg.ReadString(layout::kGsWin32c);
    reg.CloseKey();
  }

  // 2. Ghostscript's own registration; the last version listed wins.
  if (!files.FileExists(GsDllPath) && reg.KeyExists(layout::kGhostscriptKey)) {
    reg.OpenKey(layout::kGhostscriptKey, true);
    std::vector<std::string> versions;
    reg.GetKeyNames(versions);
    for (const std::string& version : versions) {
      reg.CloseKey();
      reg.OpenKey(layout::kGhostscriptVersionPrefix + version, true);
      if (reg.ValueExists(layout::kGsDll)) {
        GsDllPath = reg.ReadString(layout::kGsDll);
        reg.CloseKey();
        StorePath(reg, layout::kGsDll, GsDllPath);
      }
    }
    reg.CloseKey();
  }

  // 2a. The registrations of today's installers, read-only: the highest
  // version whose library exists, GPL and Artifex competing together.
  if (!files.FileExists(GsDllPath)) {
    GhostscriptVersions versions;
    for (const char* family : layout::kLaterGhostscriptFamilies) {
      ReadGhostscriptVersions(reg, family, files, &versions);
    }
    const auto best = HighestInstalled(versions.begin(), versions.end());
    if (best != versions.end()) {
      GsDllPath = best->gsDll;
      StorePath(reg, layout::kGsDll, GsDllPath);
    }
  }

  // 3. gswin32c.exe, or the one beside the library.
  if (files.FileExists(GsExePath)) {
    controls_.Edit5.SetText(GsExePath);
  } else {
    const std::string candidate = ExtractFilePath(GsDllPath, files) + layout::kGsExeName;
    if (files.FileExists(candidate)) {
      GsExePath = candidate;
      StorePath(reg, layout::kGsWin32c, GsExePath);
      controls_.Edit5.SetText(GsExePath);
    } else {
      platform_.dialogs.MessageBox(kMissingExeText, "Can't find gswin32c.exe", kMbIconError);
      platform_.dialogs.ExecuteOpen(OpenDialog1);
    }
  }

  // 4. gsdll32.dll.
  if (files.FileExists(GsDllPath)) {
    controls_.Edit6.SetText(GsDllPath);
  } else {
    platform_.dialogs.MessageBox(kMissingDllText, "Can't find gsdll32.dll", kMbIconError);
    platform_.dialogs.ExecuteOpen(OpenDialog2);
  }
}

void TfrmMain::LMDButton5Click() {
  platform_.dialogs.ExecuteOpen(OpenDialog1);
}

void TfrmMain::LMDButton6Click() {
  platform_.dialogs.ExecuteOpen(OpenDialog2);
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
    Registry reg(platform_.registry);
    reg.OpenKey(layout::kSettingsKey, true);
    reg.WriteString(valueName, chosen);
    path = chosen;
    reg.CloseKey();
  }
  field.SetText(path);
}

}  // namespace qv
