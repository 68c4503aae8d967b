// Writing the port monitor's registration and the PDF port's configuration.
#include "app/main.h"
#include "config/registry_layout.h"

namespace qv {

void TfrmMain::RestorePdfPort(bool showConfirmation) {
  {
    Registry reg(platform_.registry);
    reg.OpenKey(layout::kMonitorKey, true);
    reg.WriteString(layout::kDriver, layout::kMonitorDll);
    reg.CloseKey();
    reg.CreateKey(layout::kPortsKey);
    reg.OpenKey(layout::kPdfPortKey, true);
    reg.WriteString(layout::kDescription, layout::kDescriptionValue);
    reg.WriteString(layout::kCommand, OwnFolder() + layout::kRunProgram);
    reg.WriteString(layout::kArguments, OwnFolder() + layout::kDistillerArguments);
    reg.WriteString(layout::kPrinter, "");
    reg.WriteInteger(layout::kOutput, 0);
    reg.WriteInteger(layout::kShowWindow, 2);
    reg.WriteInteger(layout::kRunUser, 1);
    reg.WriteInteger(layout::kDelay, 300);
    reg.WriteInteger(layout::kLogFileUse, 0);
    reg.WriteString(layout::kLogFileName, "");
    reg.WriteInteger(layout::kLogFileDebug, 0);
    reg.WriteInteger(layout::kPrintError, 0);
    reg.CloseKey();
  }
  if (showConfirmation) {
    platform_.dialogs.MessageBox("The default PDF port properties have been restored.",
                                 "Fix PDF Port", kMbOk);
  }
}

void TfrmMain::LMDButton2Click() {
  RestorePdfPort(true);
}

}  // namespace qv
