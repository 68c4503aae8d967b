// Pointing a printer at the PDF port, and the spooler restart that makes
// the change take effect.
#pragma once

#include <optional>
#include <string>

#include "config/registry_layout.h"
#include "platform/platform.h"
#include "printing/spooler_restart.h"

namespace qv {

constexpr const char* kNameNotInCodePageText =
    "The name of this printer holds characters that this system's code page cannot "
    "represent, so this tool cannot send it to the PDF port.\rRename the printer, then press "
    "Query New Printers.";
constexpr const char* kAttachedText =
    "Processes complete.  The printer should now appear in your Monitored Printers list.";

// The one question attaching asks.
class IAttachQuestions {
 public:
  virtual ~IAttachQuestions() = default;
  // Point printer at the PDF port and restart the spooler?
  virtual bool ConfirmAttach(const std::string& printer) = 0;
};

std::string AlreadyAttachedText(const std::string& printer);

enum class AttachResult {
  NotAddressable,   // the name did not come through the code page
  Declined,         // the question was answered No
  Attached,         // Port written; restart tells how the restart went
  AlreadyAttached,  // it feeds the PDF port already: nothing done
};
struct AttachOutcome {
  AttachResult result = AttachResult::Attached;
  RestartOutcome restart;
};

// Writes Port = port into the printer's key (the key must exist unless
// onlyIfInstalled, which skips a printer without a key) and restarts the
// spooler, which is then to report the printer on that port (see
// RestartSpooler). Raises the registry's error when Port cannot be
// written, before anything is restarted. A printer pointed at the PDF
// port from another port has that port recorded first (RecordedPort), so
// that detach can put it back.
RestartOutcome AttachAndRestart(Platform& platform, IWaitPolicy& policy, const std::string& printer,
                                const std::string& port, bool onlyIfInstalled);

// The port recorded for printer when it was pointed at the PDF port;
// nullopt when none is recorded.
std::optional<std::string> RecordedPort(Registry& reg, const std::string& printer,
                                        KeyAccess access);
// Removes that record; false when there was none or it cannot be removed.
bool ForgetRecordedPort(Registry& reg, const std::string& printer);

// Whether the printer feeds the PDF port: its Port in the registry is the
// PDF port's name, and the spooler reports it so (the restart that brings
// a written Port into effect has run).
struct PdfPortUse {
  bool written = false;
  bool inEffect = false;
};
PdfPortUse PrinterPdfPortUse(Platform& platform, const std::string& printer);

// Add: asks, then attaches the listed printer and restarts the spooler.
// onlyWhatDiffers (the console): a printer that feeds the PDF port already
// is left as it is, and one whose Port is written but not yet in effect
// only has the spooler restarted.
AttachOutcome AttachPrinter(Platform& platform, IWaitPolicy& policy, IAttachQuestions& questions,
                            const PrinterName& printer, bool onlyWhatDiffers = false);

}  // namespace qv
