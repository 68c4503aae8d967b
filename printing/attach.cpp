// "Add": pointing the selected printer at the PDF port.
#include "app/main.h"
#include "config/registry_layout.h"
#include "printing/questions.h"

namespace qv {

void TfrmMain::LMDButton1Click() {
  IListControl& box = controls_.ComboBox1;
  const std::string name = box.Item(box.ItemIndex());
  if (name.empty()) {
    platform_.dialogs.MessageBox(
        "You must select a valid PostScript printer from the Printers list before you can add "
        "it for monitoring.\rIf you do not have any PostScript printers in the printers list, "
        "click on the Install PS Driver button.",
        "Processes Complete", kMbIconError);
    return;
  }
  // The box lists what the printer service lists, in the same order. A
  // name that did not come through the code page may read as another
  // printer's: writing by it would point that printer at the PDF port.
  if (!platform_.printers.Entry(box.ItemIndex()).exact) {
    platform_.dialogs.MessageBox(
        "The name of this printer holds characters that this system's code page cannot "
        "represent, so this tool cannot send it to the PDF port.\rRename the printer, then "
        "press Query New Printers.",
        "Printer Name Not Supported", kMbIconError);
    return;
  }
  const std::string question = "Are you sure you wish to monitor this printer: " + name +
                               "?\rDoing so will change the current port to a PDF port.\r\r"
                               "We will be restarting the Print Spooler Service during this "
                               "process which may take up to a minute to complete\r"
                               "Do you wish to continue?";
  if (platform_.dialogs.MessageBox(question, kAttachQuestionCaption,
                                   kMbYesNo | kMbIconExclamation) != kIdYes) {
    return;
  }
  {
    Registry reg(platform_.registry);
    reg.OpenKey(layout::kPrintersKeyPrefix + box.Item(box.ItemIndex()), false);
    reg.WriteString(layout::kPort, layout::kPdfPortName);
    reg.CloseKey();
  }
  RestartSpooler();
  RefreshPrinterList();
  RefreshMonitoredList();
  platform_.dialogs.MessageBox(
      "Processes complete.  The printer should now appear in your Monitored Printers list.",
      "Processes Complete", kMbOk);
}

}  // namespace qv
