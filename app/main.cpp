// TfrmMain: construction, the start-up sequence, and the handlers that
// belong to no subsystem of their own.
#include "app/main.h"

#include "config/registry_layout.h"
#include "config/settings.h"

namespace qv {

TfrmMain::TfrmMain(Platform& platform, const MainFormControls& controls)
    : platform_(platform), controls_(controls), commands_(platform.dialogs) {
  OpenDialog1.defaultExt = "exe";
  OpenDialog1.fileName = "gswin32c.exe";
  OpenDialog1.filter = "Application Program (*.exe)|*.exe|All Files|*.*";
  OpenDialog1.onCanClose = [this](FileDialog& d, bool& c) { OpenDialog1CanClose(d, c); };

  OpenDialog2.defaultExt = "dll";
  OpenDialog2.fileName = "gsdll32.dll";
  OpenDialog2.filter = "Dynamic Link Library|*.dll|All Files|*.*";
  OpenDialog2.onCanClose = [this](FileDialog& d, bool& c) { OpenDialog2CanClose(d, c); };

  SaveDialog3.defaultExt = "pdf";
  SaveDialog3.fileName = layout::kDefaultPdfFileValue;
  SaveDialog3.filter = "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*";
  SaveDialog3.onCanClose = [this](FileDialog& d, bool& c) { SaveDialog3CanClose(d, c); };
}

std::string TfrmMain::OwnFolder() {
  return ExtractFilePath(platform_.files.OwnExecutablePath());
}

void TfrmMain::FormCreate() {
  const std::string desktopFolder = QueryDesktopFolder(platform_.files);
  {
    Registry reg(platform_.registry);
    LocateGhostscript(reg);

    RefreshPrinterList();
    if (controls_.ComboBox1.Count() == 0 &&
        platform_.dialogs.MessageBox("You do not have any printer drivers installed to monitor "
                                     "for PDF creation.\rWould you like to install one now?",
                                     "Install Quorvin PostScript Printer Driver?",
                                     kMbYesNo | kMbIconQuestion) == kIdYes) {
      installpsdriverBtnClick();
    }
    RefreshMonitoredList();

    LoadSettings(reg, desktopFolder);

    // A missing or foreign port monitor registration is repaired silently.
    reg.OpenKey(layout::kMonitorKey, true);
    if (reg.ReadString(layout::kDriver) != layout::kMonitorDll) RestorePdfPort(false);
    reg.CloseKey();
  }
  ShowSettings();
}

void TfrmMain::LMDButton3Click() {
  if (closeWindow) closeWindow();
}

void TfrmMain::LMDButton7Click() {
  if (showAbout) showAbout();
}

}  // namespace qv
