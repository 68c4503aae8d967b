// One run of a change command (fix-port, attach, install, set) as a
// configuration engine asks for it: over the platform that records every
// change, holding all of them back with --check, its result told in prose
// or, with --json, as one object.
#pragma once

#include <string>
#include <vector>

#include "console/arguments.h"
#include "console/console.h"
#include "platform/changes.h"

namespace qv {

class ChangeRun {
 public:
  ChangeRun(const ConsoleArguments& args, ConsoleServices& services);
  // What the command works through: the recording (with --check, held
  // back) platform, and an output that --check and --json take over.
  ConsoleServices& services() { return inner_; }
  ChangePlatform& changes() { return changes_; }
  // Tells the result, from the command's exit code: with --check, each
  // change it would make and exit 3 when there is one, 0 when none; with
  // --json, the object. Returns the exit code.
  int Finish(int exit);

 private:
  class Captured : public IConsoleOutput {
   public:
    Captured(IConsoleOutput& real, bool passNotices, bool passErrors)
        : real_(real), passNotices_(passNotices), passErrors_(passErrors) {}
    void Write(Stream s, const std::string& text) override;
    void WriteUtf8(Stream s, const std::string& text) override;
    void WriteUtf8Text(Stream s, const std::string& text) override;
    std::string ToUtf8(const std::string& text) override { return real_.ToUtf8(text); }
    std::vector<std::string> notices, errors;  // UTF-8, without the last line break

   private:
    void Keep(Stream s, const std::string& utf8);
    IConsoleOutput& real_;
    bool passNotices_, passErrors_;
  };

  // The event that records what the command changed, unless it changed
  // nothing (or was a check).
  void RecordEvent(int exit) const;

  const ConsoleArguments& args_;
  ConsoleServices& machine_;
  IConsoleOutput& out_;
  bool check_, json_;
  ChangePlatform changes_;
  Captured captured_;
  ConsoleServices inner_;
};

// A change as one line of --check's output, in UTF-8.
std::string ChangeLine(const Change& change, IConsoleOutput& out);
}  // namespace qv
