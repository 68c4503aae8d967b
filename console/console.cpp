#include "console/console.h"

#include <algorithm>

#include "app/main.h"
#include "console/arguments.h"
#include "console/headless_dialogs.h"
#include "console/status.h"
#include "platform/errors.h"
#include "platform/memory_controls.h"

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

int Attach(const std::string& printer, ConsoleServices& services) {
  HeadlessForm headless(services);
  if (headless.Run(&TfrmMain::RefreshPrinterList) != kExitDone) return kExitRefused;
  const auto& names = headless.comboBox1.items;
  const auto found = std::find(names.begin(), names.end(), printer);
  if (found == names.end()) {
    services.out.Write(Stream::Err, "No printer named \"" + printer + "\" is installed.\n");
    return kExitRefused;
  }
  headless.comboBox1.SetItemIndex(static_cast<int>(found - names.begin()));
  headless.dialogs.answers["Continue?"] = kIdYes;
  return headless.Run(&TfrmMain::LMDButton1Click);
}

int Install(const std::string& name, bool makeDefault, ConsoleServices& services) {
  HeadlessForm headless(services);
  headless.dialogs.input = name;
  headless.dialogs.answers["Installing PostScript Printer Driver"] = kIdYes;
  headless.dialogs.answers["Default Printer?"] = makeDefault ? kIdYes : kIdNo;
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
  if (json) {
    services.out.WriteUtf8(Stream::Out, StatusJson(report, [&](const std::string& text) {
                             return services.out.ToUtf8(text);
                           }));
  } else {
    services.out.Write(Stream::Out, StatusText(report));
  }
  return report.Healthy() ? kExitDone : kExitNeedsRepair;
}

}  // namespace

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
