// The window's wait for a program it started, or for another restart of
// the spooler: the window keeps answering its messages, and every few
// minutes the user is asked whether to wait on.
#pragma once

#include <cstdint>
#include <string>

#include "platform/application.h"
#include "platform/clock.h"
#include "printing/run.h"
#include "ui/dialogs.h"

namespace qv {

// The question, "Still Running": "\"PROGRAM\" has been running for N
// minutes.\rWait for it another M minutes?", M being the interval at which
// it comes.
class AskingWait : public IWaitPolicy {
 public:
  // How long the wait goes on between two questions.
  static constexpr std::uint64_t kAskEveryMs = 5 * 60 * 1000;

  AskingWait(IApplication& app, IClock& clock, IDialogs& dialogs)
      : app_(app), clock_(clock), dialogs_(dialogs) {}
  void Idle() override { app_.ProcessMessages(); }
  void Started() override;
  bool KeepWaiting(const std::string& program, std::uint64_t waitedMs) override;
  // The same question while another program's restart of the spooler
  // holds the lock, with that restart in place of the program.
  bool KeepWaitingForLock(std::uint64_t waitedMs) override;
  void NotStarted(const std::string& systemText) override { dialogs_.ShowMessage(systemText); }
  void Pause(std::uint32_t ms) override;

 private:
  // Asks the question about what has run waitedMs once it is due: false
  // when the answer is No.
  bool AskWhenDue(const std::string& subject, std::uint64_t waitedMs);
  IApplication& app_;
  IClock& clock_;
  IDialogs& dialogs_;
  std::uint64_t startedMs_ = 0, nextAskMs_ = 0;
};

}  // namespace qv
