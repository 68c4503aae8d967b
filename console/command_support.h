// What the console's commands share: the error boundary around their work,
// their notices and refusals, the package folder they judge, the time limit
// on the programs they start, and the command line's answers to the
// questions of attach and install.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "console/console.h"
#include "printing/attach.h"
#include "printing/install.h"
#include "printing/run.h"

namespace qv {

// Runs a command's work through the error boundary, its errors written to
// standard error; true when it raised none.
bool RunReporting(ConsoleServices& services, const std::function<void()>& work);

// text on standard error: exit 1.
int Refuse(ConsoleServices& services, const std::string& text);
// notice on standard output: exit 0.
int Done(ConsoleServices& services, const std::string& notice);

// status, fix-port and install take the console program's own folder for
// the package's: the run program must lie there, or every path they judge
// or write would point at the wrong folder. False, told on standard error,
// when it does not. A folder that the code page cannot hold comes back as
// nullopt, unchecked: each command decides.
bool InPackageFolder(ConsoleServices& services, std::optional<std::string>* folder);

// The console's wait: no window to answer, and a time limit for each
// program; a program that cannot be started is an error.
class TimeLimit : public IWaitPolicy {
 public:
  TimeLimit(ConsoleServices& services, std::uint32_t seconds)
      : out_(services.out),
        clock_(services.platform.clock),
        limitMs_(std::uint64_t{seconds} * 1000) {}
  void Idle() override {}
  bool KeepWaiting(const std::string&, std::uint64_t waitedMs) override {
    return waitedMs < limitMs_;
  }
  void NotStarted(const std::string& systemText) override {
    out_.Write(Stream::Err, AsConsoleLines(systemText));
    failed = true;
  }
  void Pause(std::uint32_t ms) override { clock_.Sleep(ms); }
  bool failed = false;

 private:
  IConsoleOutput& out_;
  IClock& clock_;
  std::uint64_t limitMs_;
};

// The command line's answers: attach and install ask nothing of a person.
class CommandLineAnswers : public IAttachQuestions, public IInstallQuestions {
 public:
  CommandLineAnswers(std::string name, bool makeDefault)
      : name_(std::move(name)), makeDefault_(makeDefault) {}
  bool ConfirmAttach(const std::string&) override { return true; }
  bool AskName(std::string& name) override {
    name = name_;
    return true;
  }
  bool ConfirmInstall() override { return true; }
  bool MakeDefault() override { return makeDefault_; }

 private:
  std::string name_;
  bool makeDefault_;
};

}  // namespace qv
