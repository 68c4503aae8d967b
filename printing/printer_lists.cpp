// The installed-printers box and the list of printers that feed the PDF
// port, both rebuilt from scratch on every refresh.
#include "app/main.h"
#include "config/registry_layout.h"

namespace qv {

void TfrmMain::RefreshPrinterList() {
  PrinterService& printers = platform_.printers;
  printers.Refresh();
  IListControl& box = controls_.ComboBox1;
  box.Clear();
  const int count = static_cast<int>(printers.Printers().size());
  for (int i = 0; i < count; ++i) {
    printers.SetPrinterIndex(i);
    box.Add(printers.Printers()[static_cast<std::size_t>(i)]);
  }
  if (box.Count() > 0) box.SetItemIndex(0);
}

void TfrmMain::RefreshMonitoredList() {
  Registry reg(platform_.registry);
  IListControl& monitored = controls_.ListBox1;
  const IListControl& installed = controls_.ComboBox1;
  monitored.Clear();
  const int count = installed.Count();
  for (int i = 0; i < count; ++i) {
    // A name that did not come through the code page opens no key of this
    // printer's, but perhaps another printer's.
    if (!platform_.printers.Entry(i).exact) continue;
    const std::string name = installed.Item(i);
    reg.OpenKey(layout::kPrintersKeyPrefix + name, false);
    if (layout::FeedsPdfPort(reg.ReadString(layout::kPort))) monitored.Add(name);
    reg.CloseKey();
  }
}

void TfrmMain::LMDButton9Click() {
  RefreshPrinterList();
}

void TfrmMain::LMDButton10Click() {
  RefreshMonitoredList();
}

}  // namespace qv
