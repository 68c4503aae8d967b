#include "printing/attach.h"

#include "config/registry_layout.h"

namespace qv {

RestartOutcome AttachAndRestart(Platform& platform, IWaitPolicy& policy, const std::string& printer,
                                const std::string& port, bool onlyIfInstalled) {
  {
    Registry reg(platform.registry);
    const std::string key = layout::kPrintersKeyPrefix + printer;
    if (!onlyIfInstalled || reg.KeyExists(key)) {
      reg.OpenKey(key, false);
      reg.WriteString(layout::kPort, port);
      reg.CloseKey();
    }
  }
  return RestartSpooler(platform, policy, ExpectedPort{printer, port});
}

AttachOutcome AttachPrinter(Platform& platform, IWaitPolicy& policy, IAttachQuestions& questions,
                            const PrinterName& printer) {
  // A name that did not come through the code page may read as another
  // printer's: writing by it would point that printer at the PDF port.
  if (!printer.exact) return {AttachResult::NotAddressable, {}};
  if (!questions.ConfirmAttach(printer.name)) return {AttachResult::Declined, {}};
  return {AttachResult::Attached,
          AttachAndRestart(platform, policy, printer.name, layout::kPdfPortName, false)};
}

}  // namespace qv
