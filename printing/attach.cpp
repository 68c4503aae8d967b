#include "printing/attach.h"

#include <optional>

#include "config/registry_layout.h"

namespace qv {

RestartOutcome AttachAndRestart(Platform& platform, IWaitPolicy& policy, const std::string& printer,
                                bool onlyIfInstalled) {
  {
    Registry reg(platform.registry);
    const std::string key = layout::kPrintersKeyPrefix + printer;
    if (!onlyIfInstalled || reg.KeyExists(key)) {
      reg.OpenKey(key, false);
      reg.WriteString(layout::kPort, layout::kPdfPortName);
      reg.CloseKey();
    }
  }
  const RestartOutcome outcome = RestartSpooler(platform, policy);
  if (!outcome.InEffect()) return outcome;
  const std::uint64_t start = platform.clock.NowMs();
  std::optional<std::string> port;
  while (!(port = platform.spooler.PrinterPort(printer)) &&
         platform.clock.NowMs() - start < kPrinterPortWaitMs) {
    policy.Pause(kRestartPollMs);
  }
  if (port != std::string(layout::kPdfPortName)) {
    return {RestartResult::PortNotReported, PortNotReportedText(printer)};
  }
  return outcome;
}

AttachOutcome AttachPrinter(Platform& platform, IWaitPolicy& policy, IAttachQuestions& questions,
                            const PrinterName& printer) {
  // A name that did not come through the code page may read as another
  // printer's: writing by it would point that printer at the PDF port.
  if (!printer.exact) return {AttachResult::NotAddressable, {}};
  if (!questions.ConfirmAttach(printer.name)) return {AttachResult::Declined, {}};
  return {AttachResult::Attached, AttachAndRestart(platform, policy, printer.name, false)};
}

}  // namespace qv
