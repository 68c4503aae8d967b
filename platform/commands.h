// The one boundary where a command's errors stop, used by both programs:
// every button handler, the start-up sequence and every console command
// run through Execute, which hands any error to the program's error
// display and returns. While a command runs (for example while it waits
// for NET), further commands are held back and a request to close is
// remembered until the command has finished.
#pragma once

#include <exception>
#include <functional>

namespace qv {

class CommandDispatcher {
 public:
  // showError: the program's error display (a message box in the window,
  // standard error on the console). It must not throw.
  explicit CommandDispatcher(std::function<void(const std::exception&)> showError)
      : showError_(std::move(showError)) {}

  // Runs handler unless another command is running; false when held back.
  bool Execute(const std::function<void()>& handler);
  // Runs handler even while another command waits, for the commands that
  // change nothing the waiting one relies on (Exit, About).
  void ExecuteAlongside(const std::function<void()>& handler);
  // Closes now, or once the running command has finished.
  void RequestClose(const std::function<void()>& close);
  // How many errors the display has been handed so far.
  int Errors() const { return errors_; }

 private:
  void RunShowingErrors(const std::function<void()>& handler);

  std::function<void(const std::exception&)> showError_;
  bool busy_ = false;
  int errors_ = 0;
  std::function<void()> pendingClose_;
};

}  // namespace qv
