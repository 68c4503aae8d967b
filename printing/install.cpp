#include "printing/install.h"

#include <cstring>

#include "config/registry_layout.h"

namespace qv {

std::string NameTakenText(const std::string& name) {
  return "A printer named \"" + name +
         "\" already exists.\rChoose another name, or use Add to send that printer to the PDF "
         "port.";
}

std::string NotInstalledText(const std::string& name) {
  return "The printer \"" + name +
         "\" could not be installed.\rMake sure that the folder PSDriver with QuorvinPS.INF lies "
         "beside this program, then try again.";
}

std::string NotDefaultText(const std::string& name) {
  return "The printer \"" + name + "\" was installed but could not be made the default printer.";
}

std::string AlreadyInstalledText(const std::string& name) {
  return "The printer \"" + name +
         "\" is already installed with the package's model and feeds the PDF port.";
}

bool IsValidPrinterName(const std::string& name, IFileSystem& files) {
  return !name.empty() && FindFirstCharacter(name, "\"\\,", files) == std::string::npos;
}

namespace {

// The port printui gives the new printer, until it is attached.
constexpr const char* kInstallPort = "LPT1:";

// The installer's command line around the folder of the INF.
std::string BeforeFolder(const std::string& name) {
  return "printui.dll,PrintUIEntry /if /b \"" + name + "\" /f \"";
}
std::string AfterFolder() {
  return std::string(layout::kDriverInf) + "\" /q /r \"" + kInstallPort + "\" /m \"" +
         layout::kPrinterModel + "\" /z /u";
}

}  // namespace

std::string InstallParameters(const std::string& name, const std::string& ownFolder) {
  return BeforeFolder(name) + ownFolder + AfterFolder();
}

std::string DefaultPrinterParameters(const std::string& name) {
  return "printui.dll,PrintUIEntry /y /n \"" + name + "\"";
}

HeldBackProgram InstallPrograms(IFileSystem& files, const std::string& name) {
  const std::string install = files.ToUtf8(BeforeFolder(name));
  const std::string makeDefault = files.ToUtf8(DefaultPrinterParameters(name));
  return [install, makeDefault, name](HeldBackState& state, const std::string&,
                                      const std::string& parameters) {
    if (parameters.compare(0, install.size(), install) == 0) {
      const std::string key =
          RegistryRootName(kHkeyLocalMachine) + "\\" + layout::kPrintersKeyPrefix + name;
      std::vector<unsigned char> port(kInstallPort, kInstallPort + std::strlen(kInstallPort) + 1);
      state.CreateKey(key);
      state.SetValue(key, layout::kPort, {kRegSz, port});
      state.drivers[name] = layout::kPrinterModel;
    } else if (parameters == makeDefault) {
      state.defaultPrinter = name;
    }
  };
}

namespace {

// rundll32 installing the driver under that name. The INF's path goes to
// the wide API exactly, whatever the code page holds of the tool's folder;
// the code page's form is only shown.
RunOutcome RunInstaller(Platform& platform, IWaitPolicy& policy, const std::string& rundll32,
                        const std::string& name) {
  IFileSystem& files = platform.files;
  return RunAndWait(
      platform, policy, rundll32, InstallParameters(name, OwnFolder(files).value_or("")),
      files.ToUtf8(BeforeFolder(name)) + OwnFolderUtf8(files) + files.ToUtf8(AfterFolder()));
}

// A printer of that name with the package's model: attached when it does
// not feed the PDF port, made the default when asked.
InstallOutcome Converge(Platform& platform, IWaitPolicy& policy, IInstallQuestions& questions,
                        InstallOutcome outcome) {
  const std::string& name = outcome.name;
  const bool makeDefault = questions.MakeDefault() && platform.spooler.DefaultPrinter() != name;
  if (makeDefault) {
    const std::string rundll32 = SystemProgram(platform.files, "rundll32.exe");
    outcome.run = RunAndWait(platform, policy, rundll32, DefaultPrinterParameters(name));
    outcome.result = InstallResult::NotRun;
    if (outcome.run.result != RunResult::Ended) return outcome;
  }
  outcome.result = InstallResult::AlreadyInstalled;
  if (!PrinterPdfPortUse(platform, name).inEffect) {
    outcome.result = InstallResult::Attached;
    outcome.restart = AttachAndRestart(platform, policy, name, layout::kPdfPortName, true);
  }
  outcome.defaultNotSet =
      makeDefault && outcome.restart.InEffect() && platform.spooler.DefaultPrinter() != name;
  return outcome;
}

}  // namespace

InstallOutcome InstallPrinter(Platform& platform, IWaitPolicy& policy, IInstallQuestions& questions,
                              bool onlyWhatDiffers) {
  InstallOutcome outcome;
  std::string& name = outcome.name;
  name = layout::kPrinterModel;
  if (!questions.AskName(name)) return outcome;
  // The name goes inside a quoted command line and becomes a registry key
  // name: refuse what no printer name may hold rather than build a broken
  // command or write into the wrong key.
  if (!IsValidPrinterName(name, platform.files)) {
    outcome.result = InstallResult::InvalidName;
    return outcome;
  }
  // printui installs nothing, and says nothing, when the name is taken
  // (the registry compares printer names without case); the attach would
  // then take over the existing printer's port.
  const std::string printerKey = layout::kPrintersKeyPrefix + name;
  if (Registry(platform.registry).KeyExists(printerKey)) {
    if (onlyWhatDiffers &&
        platform.spooler.PrinterDriver(name) == std::string(layout::kPrinterModel)) {
      return Converge(platform, policy, questions, outcome);
    }
    outcome.result = InstallResult::NameTaken;
    return outcome;
  }
  if (!questions.ConfirmInstall()) return outcome;

  const std::string rundll32 = SystemProgram(platform.files, "rundll32.exe");
  outcome.run = RunInstaller(platform, policy, rundll32, name);
  // A program that did not start has been reported already: the key's
  // absence would only repeat the failure with a wrong reason.
  outcome.result = InstallResult::NotRun;
  if (outcome.run.result != RunResult::Ended) return outcome;
  // The installer reports nothing back; the printer's key tells whether
  // the queue was really created.
  if (!Registry(platform.registry).KeyExists(printerKey)) {
    outcome.result = InstallResult::NotInstalled;
    return outcome;
  }
  bool makeDefault = questions.MakeDefault();
  if (makeDefault) {
    outcome.run = RunAndWait(platform, policy, rundll32, DefaultPrinterParameters(name));
    if (outcome.run.result == RunResult::Abandoned) return outcome;
    // A printui that did not start has been reported; the default printer
    // would only tell the same failure again.
    makeDefault = outcome.run.result == RunResult::Ended;
  }
  outcome.result = InstallResult::Installed;
  outcome.restart = AttachAndRestart(platform, policy, name, layout::kPdfPortName, true);
  // rundll32's exit code says nothing of PrintUIEntry's: the default
  // printer itself tells whether it was made so.
  outcome.defaultNotSet =
      makeDefault && outcome.restart.InEffect() && platform.spooler.DefaultPrinter() != name;
  return outcome;
}

}  // namespace qv
