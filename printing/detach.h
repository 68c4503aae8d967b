// Putting a printer back on the port it used before it was pointed at the
// PDF port, and the spooler restart that makes the change take effect.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"
#include "printing/spooler_restart.h"

namespace qv {

std::string NoPreviousPortText(const std::string& printer);

enum class DetachResult {
  NotOnPdfPort,    // nothing to do: the printer does not feed the PDF port
  NoPreviousPort,  // no port recorded and none given
  Detached,        // Port written; restart tells how the restart went
};
struct DetachOutcome {
  DetachResult result = DetachResult::Detached;
  std::string port;  // the port written back
  RestartOutcome restart;
};

// What detach would put back: the given port, else the recorded one.
struct DetachPlan {
  bool onPdfPort = false;
  std::optional<std::string> port;
};
DetachPlan PlanDetach(Registry& reg, const std::string& printer,
                      const std::optional<std::string>& port, KeyAccess access);

// Writes the port back into the printer's Port, restarts the spooler and
// succeeds only when the spooler reports the printer on that port; then
// the record is removed. A failed restart keeps the record for a retry.
// Raises the registry's error when Port cannot be written.
DetachOutcome DetachPrinter(Platform& platform, IWaitPolicy& policy, const std::string& printer,
                            const std::optional<std::string>& port);

}  // namespace qv
