// The dialogs of the form's handlers when no window shows them: every
// question is answered as the command line decided, a notice goes to
// standard output, and an error (an error display, a box with the error
// icon, a failed program start) goes to standard error and marks the
// command as failed.
#pragma once

#include <map>
#include <string>

#include "console/output.h"
#include "platform/dialogs.h"

namespace qv {

class HeadlessDialogs : public IDialogs {
 public:
  explicit HeadlessDialogs(IConsoleOutput& out) : out_(out) {}

  // The answer to each yes/no question, by its caption. A question without
  // one is answered No and counts as an error.
  std::map<std::string, int> answers;
  // What the input dialog is answered with.
  std::string input;

  // True once an error has been shown.
  bool Failed() const { return failed_; }
  // Notices wait until the outcome is known: a command that fails prints
  // only its errors. Prints the notices held so far unless one has failed,
  // and forgets them.
  void ReleaseNotices();

  int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
  void ShowMessage(const std::string& text) override;
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
  bool ExecuteOpen(FileDialog& dialog) override;
  bool ExecuteSave(FileDialog& dialog) override;

 private:
  void Error(const std::string& text);

  IConsoleOutput& out_;
  bool failed_ = false;
  std::string notices_;
};

}  // namespace qv
