#include "printing/detach.h"

#include "config/registry_layout.h"
#include "platform/errors.h"
#include "printing/attach.h"

namespace qv {

std::string NoPreviousPortText(const std::string& printer) {
  return "The port that \"" + printer +
         "\" used before it was pointed at the PDF port is not known. Name it with --port PORT.";
}

DetachPlan PlanDetach(Registry& reg, const std::string& printer,
                      const std::optional<std::string>& port, KeyAccess access) {
  DetachPlan plan;
  reg.CloseKey();
  if (reg.OpenExisting(layout::kPrintersKeyPrefix + printer, access)) {
    plan.onPdfPort = layout::FeedsPdfPort(reg.ReadComparable(layout::kPort).value_or(""));
  }
  reg.CloseKey();
  plan.port = port ? port : RecordedPort(reg, printer, access);
  return plan;
}

DetachOutcome DetachPrinter(Platform& platform, IWaitPolicy& policy, const std::string& printer,
                            const std::optional<std::string>& port) {
  DetachPlan plan;
  {
    Registry reg(platform.registry);
    plan = PlanDetach(reg, printer, port, KeyAccess::Full);
  }
  if (!plan.onPdfPort) return {DetachResult::NotOnPdfPort, {}, {}};
  if (!plan.port) return {DetachResult::NoPreviousPort, {}, {}};
  DetachOutcome outcome{DetachResult::Detached, *plan.port,
                        AttachAndRestart(platform, policy, printer, *plan.port, false)};
  if (outcome.restart.InEffect()) {
    Registry reg(platform.registry);
    ForgetRecordedPort(reg, printer);
  }
  return outcome;
}

}  // namespace qv
