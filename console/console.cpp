#include "console/console.h"

#include <algorithm>
#include <chrono>

#include "app/main.h"
#include "config/registry_layout.h"
#include "console/arguments.h"
#include "console/guarded_processes.h"
#include "console/headless_dialogs.h"
#include "console/maintenance.h"
#include "console/status.h"
#include "platform/errors.h"
#include "platform/memory_controls.h"
#include "printing/questions.h"

namespace qv {
namespace {

// The main form on in-memory controls, with dialogs that answer as the
// command line decided.
struct HeadlessForm {
  HeadlessForm(ConsoleServices& s, IProcessRunner& processes)
      : dialogs(s.out),
        platform{s.registry, s.printers, processes, s.files, dialogs, s.app},
        form(platform, MainFormControls{edit2, edit3, edit4, edit5, edit6, comboBox1, listBox1,
                                        checkBox1, checkBox2, checkBox3}) {}
  explicit HeadlessForm(ConsoleServices& s) : HeadlessForm(s, s.processes) {}
  // Runs a handler through the form's command boundary; the exit code.
  int Run(void (TfrmMain::*handler)()) {
    form.Commands().Execute([this, handler] { (form.*handler)(); });
    return dialogs.Failed() ? kExitRefused : kExitDone;
  }
  // The command's end: its notices are printed only when it succeeded.
  int Finish() {
    dialogs.ReleaseNotices();
    return dialogs.Failed() ? kExitRefused : kExitDone;
  }

  HeadlessDialogs dialogs;
  Platform platform;
  MemoryText edit2, edit3, edit4, edit5, edit6;
  MemoryList comboBox1, listBox1;
  MemoryCheck checkBox1, checkBox2, checkBox3;
  TfrmMain form;
};

// The programs that attach and install start, watched: a time limit for
// each, and the spooler's state after each NET call.
GuardedProcessRunner WatchedPrograms(ConsoleServices& s, std::uint32_t timeoutSeconds) {
  GuardedProcessRunner::Clock clock = s.clock;
  if (!clock) {
    clock = [] {
      return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now().time_since_epoch())
                                            .count());
    };
  }
  return GuardedProcessRunner(s.processes, s.spooler, s.files, std::move(clock), timeoutSeconds);
}

// status, fix-port and install take the console program's own folder for
// the package's: the run program must lie there, or every path they judge
// or write would point at the wrong folder.
bool InPackageFolder(ConsoleServices& services) {
  const std::string folder = ExtractFilePath(services.files.OwnExecutablePath(), services.files);
  if (services.files.FileExists(folder + layout::kRunProgramName)) return true;
  std::string shown = folder;
  if (!shown.empty() && shown.back() == '\\') shown.pop_back();
  services.out.Write(Stream::Err, std::string(layout::kRunProgramName) + " is not in " + shown +
                                      ". Run QuorvinConfigCmd.exe from the folder the package "
                                      "is installed in.\n");
  return false;
}

int FixPort(bool ifNeeded, ConsoleServices& services) {
  if (!InPackageFolder(services)) return kExitRefused;
  HeadlessForm headless(services);
  bool needed = true;
  headless.form.Commands().Execute([&] {
    if (ifNeeded) {
      Registry reg(services.registry);
      needed = PdfPortNeedsRepair(reg, services.files);
    }
    if (needed) headless.form.RestorePdfPort(false);
  });
  if (headless.Finish() != kExitDone) return kExitRefused;
  services.out.Write(Stream::Out, needed ? "The default PDF port properties have been restored.\n"
                                         : "The PDF port needed no repair.\n");
  return kExitDone;
}

// Equal when the case of ASCII letters is ignored; a double-byte character
// (whose second byte may read as a letter) matches only as it is.
bool SameIgnoringAsciiCase(const std::string& a, const std::string& b, IFileSystem& files) {
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (files.IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return true;
}

// The listed printer that a typed name means, as Windows matches printer
// names: the exact name, or else the one name equal to it when the case of
// ASCII letters is ignored. -1 for none.
int FindPrinter(const std::vector<std::string>& names, const std::string& typed,
                IFileSystem& files) {
  const auto exact = std::find(names.begin(), names.end(), typed);
  if (exact != names.end()) return static_cast<int>(exact - names.begin());
  int found = -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!SameIgnoringAsciiCase(names[i], typed, files)) continue;
    if (found >= 0) return -1;
    found = static_cast<int>(i);
  }
  return found;
}

int Attach(const std::string& printer, std::uint32_t timeoutSeconds, ConsoleServices& services) {
  GuardedProcessRunner programs = WatchedPrograms(services, timeoutSeconds);
  HeadlessForm headless(services, programs);
  if (headless.Run(&TfrmMain::RefreshPrinterList) != kExitDone) return kExitRefused;
  const int index = FindPrinter(headless.comboBox1.items, printer, services.files);
  if (index < 0) {
    services.out.Write(Stream::Err, "No printer named \"" + printer + "\" is installed.\n");
    return kExitRefused;
  }
  headless.comboBox1.SetItemIndex(index);
  headless.dialogs.answers[kAttachQuestionCaption] = kIdYes;
  headless.Run(&TfrmMain::LMDButton1Click);
  return headless.Finish();
}

int Install(const ConsoleArguments& args, ConsoleServices& services) {
  if (!InPackageFolder(services)) return kExitRefused;
  GuardedProcessRunner programs = WatchedPrograms(services, args.timeoutSeconds);
  HeadlessForm headless(services, programs);
  const std::string& name = args.operand;
  headless.dialogs.input = name;
  headless.dialogs.answers[kInstallQuestionCaption] = kIdYes;
  headless.dialogs.answers[kDefaultPrinterQuestionCaption] = args.makeDefault ? kIdYes : kIdNo;
  // rundll32's exit code says nothing of PrintUIEntry's: the default
  // printer itself tells whether it was made so.
  if (headless.Run(&TfrmMain::installpsdriverBtnClick) == kExitDone && args.makeDefault &&
      services.spooler != nullptr && services.spooler->DefaultPrinter() != name) {
    headless.dialogs.MessageBox(
        "The printer \"" + name + "\" was installed but could not be made the default printer.",
        kApplicationTitle, kMbIconError);
  }
  return headless.Finish();
}

int Status(bool json, ConsoleServices& services) {
  if (!InPackageFolder(services)) return kExitRefused;
  HeadlessDialogs dialogs(services.out);
  CommandDispatcher commands(dialogs);
  StatusReport report;
  commands.Execute([&] {
    Registry reg(services.registry);
    report = GatherStatus(reg, services.printers, services.files, services.registry64);
  });
  if (dialogs.Failed()) return kExitRefused;
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
      services.out.Write(Stream::Err, "Argument " + std::to_string(i + 1) +
                                          " holds characters that this system's code page "
                                          "cannot represent.\n");
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
    services.out.Write(Stream::Err,
                       error + (parsed.withoutUsage ? "\n" : "\n\n" + std::string(kConsoleUsage)));
    return kExitUsage;
  }
  switch (parsed.command) {
    case ConsoleCommand::Help:
      services.out.Write(Stream::Out, kConsoleUsage);
      return kExitDone;
    case ConsoleCommand::Status:
      return Status(parsed.json, services);
    case ConsoleCommand::FixPort:
      return FixPort(parsed.ifNeeded, services);
    case ConsoleCommand::Attach:
      return Attach(parsed.operand, parsed.timeoutSeconds, services);
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
