#include "printing/attach.h"

#include <optional>

#include "config/registry_layout.h"

namespace qv {

RestartOutcome AttachAndRestart(Platform& platform, IWaitPolicy& policy, const std::string& printer,
                                bool onlyIfInstalled, const RestartTimes& times) {
  {
    Registry reg(platform.registry);
    const std::string key = layout::kPrintersKeyPrefix + printer;
    if (!onlyIfInstalled || reg.KeyExists(key)) {
      reg.OpenKey(key, false);
      reg.WriteString(layout::kPort, layout::kPdfPortName);
      reg.CloseKey();
    }
  }
  const RestartOutcome outcome = RestartSpooler(platform, policy, times);
  if (!outcome.InEffect()) return outcome;
  const std::uint64_t start = platform.clock.NowMs();
  std::optional<std::string> port;
  while (!(port = platform.spooler.PrinterPort(printer)) &&
         platform.clock.NowMs() - start < times.openPrinterMs) {
    policy.Pause(times.pollMs);
  }
  if (port != std::string(layout::kPdfPortName)) {
    return {RestartResult::PortNotReported, PortNotReportedText(printer)};
  }
  return outcome;
}

std::string AlreadyAttachedText(const std::string& printer) {
  return "The printer \"" + printer + "\" already feeds the PDF port; nothing was changed.";
}

PdfPortUse PrinterPdfPortUse(Platform& platform, const std::string& printer) {
  PdfPortUse use;
  Registry reg(platform.registry);
  if (reg.OpenKeyReadOnly(layout::kPrintersKeyPrefix + printer)) {
    use.written = reg.ReadComparable(layout::kPort) == std::string(layout::kPdfPortName);
  }
  use.inEffect =
      use.written && platform.spooler.PrinterPort(printer) == std::string(layout::kPdfPortName);
  return use;
}

AttachOutcome AttachPrinter(Platform& platform, IWaitPolicy& policy, IAttachQuestions& questions,
                            const PrinterName& printer, bool onlyWhatDiffers) {
  // A name that did not come through the code page may read as another
  // printer's: writing by it would point that printer at the PDF port.
  if (!printer.exact) return {AttachResult::NotAddressable, {}};
  // A written Port is written again with the same content, which changes
  // nothing: the restart is what is still missing.
  if (onlyWhatDiffers && PrinterPdfPortUse(platform, printer.name).inEffect) {
    return {AttachResult::AlreadyAttached, {}};
  }
  if (!questions.ConfirmAttach(printer.name)) return {AttachResult::Declined, {}};
  return {AttachResult::Attached, AttachAndRestart(platform, policy, printer.name, false)};
}

}  // namespace qv
