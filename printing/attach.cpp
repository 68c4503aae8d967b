#include "printing/attach.h"

#include "config/registry_layout.h"
#include "platform/errors.h"

namespace qv {

namespace {

// The printer's Port as the tool can record it: nullopt when it is
// missing, not a string or not in the code page. Reading it must never
// keep the printer from being attached.
std::optional<std::string> CurrentPort(Registry& reg) {
  try {
    if (!reg.ValueExists(layout::kPort)) return std::nullopt;
    return reg.ReadComparable(layout::kPort);
  } catch (const ERegistryException&) {
    return std::nullopt;
  }
}

// Writes port into the printer's key (open); before the PDF port replaces
// another port, that port is recorded. A printer already on the PDF port
// keeps its record as it is.
void WritePort(Registry& reg, const std::string& key, const std::string& printer,
               const std::string& port) {
  if (layout::FeedsPdfPort(port)) {
    const std::optional<std::string> previous = CurrentPort(reg);
    if (previous && !previous->empty() && !layout::FeedsPdfPort(*previous)) {
      // Paths open relative to an open key: each from the root.
      reg.CloseKey();
      reg.OpenKey(layout::kPreviousPortsKey, true);
      reg.WriteString(printer, *previous);
      reg.CloseKey();
      reg.OpenKey(key, false);
    }
  }
  reg.WriteString(layout::kPort, port);
}

}  // namespace

RestartOutcome AttachAndRestart(Platform& platform, IWaitPolicy& policy, const std::string& printer,
                                const std::string& port, bool onlyIfInstalled) {
  {
    Registry reg(platform.registry);
    const std::string key = layout::kPrintersKeyPrefix + printer;
    if (!onlyIfInstalled || reg.KeyExists(key)) {
      reg.OpenKey(key, false);
      WritePort(reg, key, printer, port);
      reg.CloseKey();
    }
  }
  return RestartSpooler(platform, policy, ExpectedPort{printer, port});
}

std::optional<std::string> RecordedPort(Registry& reg, const std::string& printer,
                                        KeyAccess access) {
  reg.CloseKey();
  if (!reg.OpenExisting(layout::kPreviousPortsKey, access)) return std::nullopt;
  std::string port;
  try {
    if (reg.ValueExists(printer)) port = reg.ReadComparable(printer).value_or("");
  } catch (const ERegistryException&) {
    // A record of the wrong type is no record.
  }
  reg.CloseKey();
  if (port.empty()) return std::nullopt;
  return port;
}

bool ForgetRecordedPort(Registry& reg, const std::string& printer) {
  reg.CloseKey();
  const bool forgotten = reg.OpenKey(layout::kPreviousPortsKey, false) && reg.DeleteValue(printer);
  reg.CloseKey();
  return forgotten;
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
  return {AttachResult::Attached,
          AttachAndRestart(platform, policy, printer.name, layout::kPdfPortName, false)};
}

}  // namespace qv
