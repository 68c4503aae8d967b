// The one boundary where a command's errors stop: every button handler and
// the start-up sequence run through Execute, which shows any error in the
// error display and returns to the message loop. While a command runs
// (for example while it waits for NET), further commands are held back and
// a request to close is remembered until the command has finished.
#pragma once

#include <functional>

#include "platform/dialogs.h"

namespace qv {

class CommandDispatcher {
 public:
  explicit CommandDispatcher(IDialogs& dialogs) : dialogs_(dialogs) {}

  // Runs handler unless another command is running; false when held back.
  bool Execute(const std::function<void()>& handler);
  // Runs handler even while another command waits, for the commands that
  // change nothing the waiting one relies on (Exit, About).
  void ExecuteAlongside(const std::function<void()>& handler);
  // Closes now, or once the running command has finished.
  void RequestClose(const std::function<void()>& close);

 private:
  void RunShowingErrors(const std::function<void()>& handler);

  IDialogs& dialogs_;
  bool busy_ = false;
  std::function<void()> pendingClose_;
};

}  // namespace qv
