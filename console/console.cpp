#include "console/console.h"

#include <algorithm>

#include "app/main.h"
#include "console/arguments.h"
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
  explicit HeadlessForm(ConsoleServices& s)
      : dialogs(s.out),
        platform{s.registry, s.printers, s.processes, s.files, dialogs, s.app},
        form(platform, MainFormControls{edit2, edit3, edit4, edit5, edit6, comboBox1, listBox1,
                                        checkBox1, checkBox2, checkBox3}) {}
  // Runs a handler through the form's command boundary; the exit code.
  int Run(void (TfrmMain::*handler)()) {
    form.Commands().Execute([this, handler] { (form.*handler)(); });
    return dialogs.Failed() ? kExitRefused : kExitDone;
  }

  HeadlessDialogs dialogs;
  Platform platform;
  MemoryText edit2, edit3, edit4, edit5, edit6;
  MemoryList comboBox1, listBox1;
  MemoryCheck checkBox1, checkBox2, checkBox3;
  TfrmMain form;
};

int FixPort(ConsoleServices& services) {
  HeadlessForm headless(services);
  headless.form.Commands().Execute([&] { headless.form.RestorePdfPort(false); });
  if (headless.dialogs.Failed()) return kExitRefused;
  services.out.Write(Stream::Out, "The default PDF port properties have been restored.\n");
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

int Attach(const std::string& printer, ConsoleServices& services) {
  HeadlessForm headless(services);
  if (headless.Run(&TfrmMain::RefreshPrinterList) != kExitDone) return kExitRefused;
  const int index = FindPrinter(headless.comboBox1.items, printer, services.files);
  if (index < 0) {
    services.out.Write(Stream::Err, "No printer named \"" + printer + "\" is installed.\n");
    return kExitRefused;
  }
  headless.comboBox1.SetItemIndex(index);
  headless.dialogs.answers[kAttachQuestionCaption] = kIdYes;
  return headless.Run(&TfrmMain::LMDButton1Click);
}

int Install(const std::string& name, bool makeDefault, ConsoleServices& services) {
  HeadlessForm headless(services);
  headless.dialogs.input = name;
  headless.dialogs.answers[kInstallQuestionCaption] = kIdYes;
  headless.dialogs.answers[kDefaultPrinterQuestionCaption] = makeDefault ? kIdYes : kIdNo;
  return headless.Run(&TfrmMain::installpsdriverBtnClick);
}

int Status(bool json, ConsoleServices& services) {
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
    services.out.Write(Stream::Err, error + "\n\n" + kConsoleUsage);
    return kExitUsage;
  }
  switch (parsed.command) {
    case ConsoleCommand::Help:
      services.out.Write(Stream::Out, kConsoleUsage);
      return kExitDone;
    case ConsoleCommand::Status:
      return Status(parsed.json, services);
    case ConsoleCommand::FixPort:
      return FixPort(services);
    case ConsoleCommand::Attach:
      return Attach(parsed.operand, services);
    case ConsoleCommand::Install:
      return Install(parsed.operand, parsed.makeDefault, services);
    case ConsoleCommand::Set:
      return SetOptions(parsed.assignments, services);
    case ConsoleCommand::Export:
      return ExportSettings(parsed.operand, services);
  }
  return kExitUsage;
}

}  // namespace qv
