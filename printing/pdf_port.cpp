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
    for (const layout::PortValue& value : layout::kPdfPortValues) {
      if (value.type == kRegDword) {
        reg.WriteInteger(value.name, value.number);
      } else {
        // The own folder is fetched afresh for each value that needs it.
        reg.WriteString(value.name, layout::PortValueText(value, OwnFolder()));
      }
    }
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
