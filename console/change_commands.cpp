#include "console/change_commands.h"

#include <cctype>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/registry_layout.h"
#include "config/settings.h"
#include "console/change_run.h"
#include "console/command_support.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "printing/attach.h"
#include "printing/detach.h"
#include "printing/install.h"
#include "printing/pdf_port.h"
#include "printing/printer_list.h"

namespace qv {
namespace {

// A restart that did not bring the change into effect or left a dependent
// service stopped, or a program that could not be started (told by the
// wait): exit 1; otherwise 0 with the notice.
int AfterRestart(ConsoleServices& services, const TimeLimit& limit, const RestartOutcome& restart,
                 const std::string& notice) {
  if (restart.result == RestartResult::ProgramNotStarted) return kExitRefused;
  if (restart.result != RestartResult::Restarted) return Refuse(services, restart.text);
  return limit.failed ? kExitRefused : Done(services, notice);
}

// The longest text a path or file name may hold; longer, Windows cannot
// open the PDF it names.
constexpr std::size_t kLongestText = 259;

constexpr const char* kNothingChangedText = "No value's content changed: it was as written.";

// Why the distiller could never use value as option's content; empty when
// it could. The texts follow "Argument N: NAME ".
std::string Unusable(const Option& option, const std::string& value, IFileSystem& files) {
  const std::string name = option.name;
  const bool file = name == layout::kDefaultPdfFile || name == layout::kDefaultPdfAppend;
  const bool folder = name == layout::kDefaultPdfDir;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < value.size(); ++i, ++characters) {
    if (i + 1 < value.size() && files.IsLeadByte(static_cast<unsigned char>(value[i]))) ++i;
  }
  static const std::string kControl = [] {
    std::string set;
    for (char c = 1; c < 0x20; ++c) set += c;
    return set;
  }();
  const bool control = FindFirstCharacter(value, kControl.c_str(), files) != std::string::npos;
  if (characters > kLongestText) {
    return "is " + std::to_string(characters) + " characters long; Windows takes at most " +
           std::to_string(kLongestText) + ".";
  }
  if (!file && !folder) return "";
  if (value.empty() && name != layout::kDefaultPdfAppend) {
    return file ? "is empty: the PDF needs a file name." : "is empty: the PDF needs a folder.";
  }
  if (control) {
    return file ? "holds a control character, which Windows does not allow in a file name."
                : "holds a control character, which Windows does not allow in a folder name.";
  }
  std::string rest = value;
  if (folder) {
    // A full path: a drive letter with its backslash, or \\server\share.
    const bool drive = value.size() >= 3 && std::isalpha(static_cast<unsigned char>(value[0])) &&
                       value[1] == ':' && value[2] == '\\';
    const std::size_t share = value.compare(0, 2, "\\\\") == 0
                                  ? FindFirstCharacter(value.substr(2), "\\", files)
                                  : std::string::npos;
    if (!drive && (share == std::string::npos || share == 0 || share + 3 >= value.size())) {
      return "is not a full path: start it with a drive letter and a backslash (C:\\), or with "
             "\\\\server\\share.";
    }
    rest = value.substr(drive ? 3 : 2);
  }
  const char* forbidden = folder ? "<>:\"/|?*" : "<>:\"/\\|?*";
  const std::size_t at = FindFirstCharacter(rest, forbidden, files);
  if (at != std::string::npos) {
    return "holds \"" + rest.substr(at, 1) + "\", which Windows does not allow in a " +
           (folder ? "folder" : "file") + " name.";
  }
  if (name == layout::kDefaultPdfAppend &&
      FindFirstCharacter(value, ",", files) != std::string::npos) {
    return "holds a comma, which the window warns against in this text.";
  }
  return "";
}

int FixPort(const ConsoleArguments& args, ConsoleServices& services, const ChangeRecord& record) {
  std::optional<std::string> folder;
  if (!InPackageFolder(services, &folder)) return kExitRefused;
  if (!folder) return Refuse(services, kFolderNotInCodePageText);
  bool needed = true;
  if (!RunReporting(services, [&] {
        Registry reg(services.platform.registry);
        if (args.ifNeeded) needed = ReadPdfPortState(reg, *folder).NeedsRepair();
        if (needed) WritePdfPort(reg, *folder);
      })) {
    return kExitRefused;
  }
  if (!needed) return Done(services, "The PDF port needed no repair.");
  Done(services, kPortRestoredText);
  // Rewritten as it was: say so, for whoever counts on a change.
  return record.changes.empty() ? Done(services, kNothingChangedText) : kExitDone;
}

// The listed printer that typed names, as Windows matches names: its index,
// or the exit code with the refusal told.
std::optional<int> ListedPrinter(const std::string& typed, ConsoleServices& services, int* exit) {
  Platform& platform = services.platform;
  std::vector<std::string> names;
  if (!RunReporting(services, [&] { names = ListPrinters(platform.printers); })) {
    *exit = kExitRefused;
    return std::nullopt;
  }
  const int index = FindPrinter(names, typed, platform.files);
  if (index >= 0) return index;
  *exit = Refuse(services, "No printer named \"" + typed + "\" is installed.");
  return std::nullopt;
}

int Attach(const ConsoleArguments& args, ConsoleServices& services) {
  const std::string& typed = args.operands[0];
  Platform& platform = services.platform;
  int exit = kExitDone;
  const std::optional<int> listed = ListedPrinter(typed, services, &exit);
  if (!listed) return exit;
  const int index = *listed;
  TimeLimit limit(services, args.timeoutSeconds);
  CommandLineAnswers answers(typed, false);
  AttachOutcome outcome;
  if (!RunReporting(services, [&] {
        outcome = AttachPrinter(platform, limit, answers, platform.printers.Entry(index), true);
      })) {
    return kExitRefused;
  }
  if (outcome.result == AttachResult::NotAddressable) {
    return Refuse(services, kNameNotInCodePageText);
  }
  if (outcome.result == AttachResult::AlreadyAttached) {
    return Done(services, AlreadyAttachedText(platform.printers.Entry(index).name));
  }
  return AfterRestart(services, limit, outcome.restart, kAttachedText);
}

int Install(const ConsoleArguments& args, ConsoleServices& services) {
  std::optional<std::string> folder;
  if (!InPackageFolder(services, &folder)) return kExitRefused;
  TimeLimit limit(services, args.timeoutSeconds);
  CommandLineAnswers answers(args.operands[0], args.makeDefault);
  InstallOutcome outcome;
  if (!RunReporting(services,
                    [&] { outcome = InstallPrinter(services.platform, limit, answers, true); })) {
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
    case InstallResult::Attached:
      if (outcome.defaultNotSet) return Refuse(services, NotDefaultText(outcome.name));
      return AfterRestart(
          services, limit, outcome.restart,
          outcome.result == InstallResult::Installed ? kInstalledText : kAttachedText);
    case InstallResult::AlreadyInstalled:
      if (outcome.defaultNotSet) return Refuse(services, NotDefaultText(outcome.name));
      return Done(services, AlreadyInstalledText(outcome.name));
    case InstallResult::Cancelled:
      break;
  }
  return kExitRefused;
}

int Detach(const ConsoleArguments& args, ConsoleServices& services) {
  Platform& platform = services.platform;
  int exit = kExitDone;
  const std::optional<int> listed = ListedPrinter(args.operands[0], services, &exit);
  if (!listed) return exit;
  const PrinterName& printer = platform.printers.Entry(*listed);
  if (!printer.exact) return Refuse(services, kNameNotInCodePageText);
  TimeLimit limit(services, args.timeoutSeconds);
  DetachOutcome outcome;
  if (!RunReporting(services,
                    [&] { outcome = DetachPrinter(platform, limit, printer.name, args.port); })) {
    return kExitRefused;
  }
  switch (outcome.result) {
    case DetachResult::NotOnPdfPort:
      return Done(services, "\"" + printer.name + "\" does not use the PDF port; nothing to do.");
    case DetachResult::NoPreviousPort:
      return Refuse(services, NoPreviousPortText(printer.name));
    case DetachResult::Detached:
      break;
  }
  return AfterRestart(services, limit, outcome.restart,
                      "\"" + printer.name + "\" uses the port \"" + outcome.port + "\" again.");
}

int Set(const ConsoleArguments& args, ConsoleServices& services) {
  const std::vector<std::string>& assignments = args.operands;
  std::vector<std::pair<const Option*, std::string>> writes;
  for (std::size_t i = 0; i < assignments.size(); ++i) {
    const std::string& assignment = assignments[i];
    const auto equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    const std::string value = assignment.substr(equals + 1);
    const Option* option = FindOption(name, services.platform.files);
    if (option == nullptr) {
      std::string known;
      for (const Option& o : kOptions) known += std::string(known.empty() ? "" : ", ") + o.name;
      services.out.Write(Stream::Err,
                         "Unknown setting \"" + name + "\"; settable are " + known + ".\n");
      return kExitUsage;
    }
    if (option->type == OptionType::Flag && value != "0" && value != "1") {
      services.out.Write(Stream::Err,
                         std::string(option->name) + " takes 0 or 1, not \"" + value + "\".\n");
      return kExitUsage;
    }
    // A quote in a value is most often a typed "C:\My PDFs\" whose last
    // backslash made the closing quote part of the argument. set takes no
    // options, so assignment i is argument i + 2, counted as the code-page
    // refusal counts (the command is argument 1).
    if (option->type == OptionType::Text && value.find('"') != std::string::npos) {
      services.out.Write(
          Stream::Err,
          "Argument " + std::to_string(i + 2) +
              " holds a double quote (\"), which no path or file name can hold. In cmd.exe a "
              "backslash before the closing quote keeps the quote: leave that backslash out, or "
              "double it (\"defaultPDFDir=C:\\My PDFs\\\\\").\n");
      return kExitUsage;
    }
    const std::string unusable = Unusable(*option, value, services.platform.files);
    if (!unusable.empty()) {
      services.out.Write(Stream::Err, "Argument " + std::to_string(i + 2) + ": " + option->name +
                                          " " + unusable + "\n");
      return kExitUsage;
    }
    writes.emplace_back(option, value);
  }
  if (!RunReporting(services, [&] {
        Registry reg(services.platform.registry);
        StoreOptions(reg, writes);
      })) {
    return kExitRefused;
  }
  services.out.Write(Stream::Out, std::string(kChangesSavedText) + "\n");
  return kExitDone;
}

}  // namespace

int FixPortCommand(const ConsoleArguments& args, ConsoleServices& services) {
  ChangeRun run(args, services);
  return run.Finish(FixPort(args, run.services(), run.changes().record()));
}

int AttachCommand(const ConsoleArguments& args, ConsoleServices& services) {
  ChangeRun run(args, services);
  return run.Finish(Attach(args, run.services()));
}

int InstallCommand(const ConsoleArguments& args, ConsoleServices& services) {
  ChangeRun run(args, services);
  run.changes().OnProgramHeldBack(InstallPrograms(services.platform.files, args.operands[0]));
  return run.Finish(Install(args, run.services()));
}

int DetachCommand(const ConsoleArguments& args, ConsoleServices& services) {
  ChangeRun run(args, services);
  return run.Finish(Detach(args, run.services()));
}

int SetCommand(const ConsoleArguments& args, ConsoleServices& services) {
  ChangeRun run(args, services);
  return run.Finish(Set(args, run.services()));
}

}  // namespace qv
