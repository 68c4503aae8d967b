#include "app/asking_wait.h"

#include <algorithm>

namespace qv {

namespace {

constexpr const char* kOtherRestart = "The print spooler's restart by another program";

std::string Question(const std::string& subject, std::uint64_t minutes) {
  return subject + " has been running for " + std::to_string(minutes) +
         " minutes.\rWait for it another " + std::to_string(AskingWait::kAskEveryMs / 60000) +
         " minutes?";
}

}  // namespace

void AskingWait::Started() {
  startedMs_ = clock_.NowMs();
  nextAskMs_ = kAskEveryMs;
}

bool AskingWait::KeepWaiting(const std::string& program, std::uint64_t waitedMs) {
  return AskWhenDue("\"" + program + "\"", waitedMs);
}

bool AskingWait::KeepWaitingForLock(std::uint64_t waitedMs) {
  return AskWhenDue(kOtherRestart, waitedMs);
}

bool AskingWait::AskWhenDue(const std::string& subject, std::uint64_t waitedMs) {
  if (waitedMs < nextAskMs_) return true;
  if (dialogs_.MessageBox(Question(subject, waitedMs / 60000), "Still Running",
                          kMbYesNo | kMbIconQuestion) != kIdYes) {
    return false;
  }
  nextAskMs_ = clock_.NowMs() - startedMs_ + kAskEveryMs;
  return true;
}

void AskingWait::Pause(std::uint32_t ms) {
  // In short slices, so that the window answers within a few milliseconds.
  const std::uint64_t end = clock_.NowMs() + ms;
  for (std::uint64_t now = clock_.NowMs(); now < end; now = clock_.NowMs()) {
    app_.ProcessMessages();
    clock_.Sleep(static_cast<std::uint32_t>(std::min<std::uint64_t>(end - now, 10)));
  }
}

}  // namespace qv
