#include "console/console.h"

#include "config/registry_layout.h"
#include "console/arguments.h"
#include "console/maintenance.h"
#include "console/report.h"
#include "printing/attach.h"
#include "printing/install.h"
#include "printing/pdf_port.h"
#include "printing/printer_list.h"

namespace qv {
namespace {

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

int Refuse(ConsoleServices& services, const std::string& text) {
  services.out.Write(Stream::Err, AsConsoleLines(text));
  return kExitRefused;
}

int Done(ConsoleServices& services, const std::string& notice) {
  services.out.Write(Stream::Out, AsConsoleLines(notice));
  return kExitDone;
}

// A restart that did not bring the change into effect or left a dependent
// service stopped, or a program that could not be started (told by the
// wait): exit 1; otherwise 0 with the notice.
int AfterRestart(ConsoleServices& services, const TimeLimit& limit, const RestartOutcome& restart,
                 const std::string& notice) {
  if (restart.result == RestartResult::ProgramNotStarted) return kExitRefused;
  if (restart.result != RestartResult::Restarted) return Refuse(services, restart.text);
  return limit.failed ? kExitRefused : Done(services, notice);
}

// status, fix-port and install take the console program's own folder for
// the package's: the run program must lie there, or every path they judge
// or write would point at the wrong folder. A folder that the code page
// cannot hold comes back as nullopt, unchecked: each command decides.
bool InPackageFolder(ConsoleServices& services, std::optional<std::string>* folder) {
  IFileSystem& files = services.platform.files;
  *folder = OwnFolder(files);
  if (!*folder || files.FileExists(**folder + layout::kRunProgramName)) return true;
  // The folder is named exactly, whatever the code page holds of it.
  std::string shown = OwnFolderUtf8(files);
  if (!shown.empty() && shown.back() == '\\') shown.pop_back();
  services.out.WriteUtf8Text(
      Stream::Err, std::string(layout::kRunProgramName) + " is not in " + shown +
                       ". Run QuorvinConfigCmd.exe from the folder the package is installed in.\n");
  return false;
}

int FixPort(bool ifNeeded, ConsoleServices& services) {
  std::optional<std::string> folder;
  if (!InPackageFolder(services, &folder)) return kExitRefused;
  if (!folder) return Refuse(services, kFolderNotInCodePageText);
  bool needed = true;
  if (!RunReporting(services, [&] {
        Registry reg(services.platform.registry);
        if (ifNeeded) needed = ReadPdfPortState(reg, *folder).NeedsRepair();
        if (needed) WritePdfPort(reg, *folder);
      })) {
    return kExitRefused;
  }
  return Done(services, needed ? kPortRestoredText : "The PDF port needed no repair.");
}

int Attach(const ConsoleArguments& args, ConsoleServices& services) {
  Platform& platform = services.platform;
  std::vector<std::string> names;
  if (!RunReporting(services, [&] { names = ListPrinters(platform.printers); })) {
    return kExitRefused;
  }
  const int index = FindPrinter(names, args.operand, platform.files);
  if (index < 0) return Refuse(services, "No printer named \"" + args.operand + "\" is installed.");
  TimeLimit limit(services, args.timeoutSeconds);
  CommandLineAnswers answers(args.operand, false);
  AttachOutcome outcome;
  if (!RunReporting(services, [&] {
        outcome = AttachPrinter(platform, limit, answers, platform.printers.Entry(index));
      })) {
    return kExitRefused;
  }
  if (outcome.result == AttachResult::NotAddressable) {
    return Refuse(services, kNameNotInCodePageText);
  }
  return AfterRestart(services, limit, outcome.restart, kAttachedText);
}

int Install(const ConsoleArguments& args, ConsoleServices& services) {
  std::optional<std::string> folder;
  if (!InPackageFolder(services, &folder)) return kExitRefused;
  TimeLimit limit(services, args.timeoutSeconds);
  CommandLineAnswers answers(args.operand, args.makeDefault);
  InstallOutcome outcome;
  if (!RunReporting(services,
                    [&] { outcome = InstallPrinter(services.platform, limit, answers); })) {
    return kExitRefused;
  }
  switch (outcome.result) {
    case InstallResult::InvalidName:
      return Refuse(services, kInvalidPrinterNameText);
    case InstallResult::NameTaken:
      return Refuse(services, NameTakenText(outcome.name));
    case InstallResult::NotRun:
      // A program that could not start has been reported by the wait.
      if (outcome.run.result == RunResult::NotStarted) return kExitRefused;
      return Refuse(services, outcome.run.text);
    case InstallResult::NotInstalled:
      return Refuse(services, NotInstalledText(outcome.name));
    case InstallResult::Installed:
      if (outcome.defaultNotSet) return Refuse(services, NotDefaultText(outcome.name));
      return AfterRestart(services, limit, outcome.restart, kInstalledText);
    case InstallResult::Cancelled:
      break;
  }
  return kExitRefused;
}

int Status(bool json, ConsoleServices& services) {
  std::optional<std::string> folder;
  if (!InPackageFolder(services, &folder)) return kExitRefused;
  StatusReport report;
  if (!RunReporting(services, [&] { report = GatherStatus(services.platform, folder); })) {
    return kExitRefused;
  }
  const auto toUtf8 = [&](const std::string& text) { return services.out.ToUtf8(text); };
  if (json) {
    services.out.WriteUtf8(Stream::Out, StatusJson(report, toUtf8));
  } else {
    services.out.WriteUtf8Text(Stream::Out, StatusText(report, toUtf8));
  }
  return report.Healthy() ? kExitDone : kExitNeedsRepair;
}

}  // namespace

int RunConsole(const std::vector<ConsoleArgument>& args, ConsoleServices& services) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!args[i].exact) {
      Refuse(services, "Argument " + std::to_string(i + 1) +
                           " holds characters that this system's code page cannot represent.");
      return kExitUsage;
    }
    texts.push_back(args[i].text);
  }
  return RunConsole(texts, services);
}

int RunConsole(const std::vector<std::string>& args, ConsoleServices& services) {
  ConsoleArguments parsed;
  std::string error;
  if (!ParseArguments(args, &parsed, &error)) {
    services.out.Write(Stream::Err, error + (parsed.withoutUsage ? "\n" : "\n\n" + ConsoleUsage()));
    return kExitUsage;
  }
  switch (parsed.command) {
    case ConsoleCommand::Help:
      services.out.Write(Stream::Out, ConsoleUsage());
      return kExitDone;
    case ConsoleCommand::Status:
      return Status(parsed.json, services);
    case ConsoleCommand::FixPort:
      return FixPort(parsed.ifNeeded, services);
    case ConsoleCommand::Attach:
      return Attach(parsed, services);
    case ConsoleCommand::Install:
      return Install(parsed, services);
    case ConsoleCommand::Set:
      return SetOptions(parsed.assignments, services);
    case ConsoleCommand::Export:
      return ExportSettings(parsed.operand, services);
  }
  return kExitUsage;
}

}  // namespace qv
