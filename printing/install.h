// Installing a PostScript printer queue from the package's driver with
// printui.dll, optionally as the default printer, and attaching it.
#pragma once

#include <string>

#include "platform/changes.h"
#include "platform/platform.h"
#include "printing/attach.h"
#include "printing/run.h"

namespace qv {

constexpr const char* kInvalidPrinterNameText =
    "The printer name must not be empty and must not contain a double quote, a backslash or a "
    "comma.";
constexpr const char* kInstalledText =
    "Processes complete.  The printer should now be installed and appear in your printers list.";
std::string NameTakenText(const std::string& name);
std::string NotInstalledText(const std::string& name);
std::string NotDefaultText(const std::string& name);
std::string AlreadyInstalledText(const std::string& name);

// A name a printer queue may have: not empty, and free of the characters
// Windows refuses in printer names (double quote, backslash, comma). The
// second byte of a double-byte character is not one of them, even when it
// reads as a backslash.
bool IsValidPrinterName(const std::string& name, IFileSystem& files);

// printui.dll's install line for queue name in the tool's folder ownFolder.
std::string InstallParameters(const std::string& name, const std::string& ownFolder);
// printui.dll's line that makes name the default printer.
std::string DefaultPrinterParameters(const std::string& name);

// The questions an installation asks, in this order.
class IInstallQuestions {
 public:
  virtual ~IInstallQuestions() = default;
  // The new queue's name, proposed in name; false when cancelled.
  virtual bool AskName(std::string& name) = 0;
  // Install the driver and restart the spooler? False stops.
  virtual bool ConfirmInstall() = 0;
  // Make the new printer the default printer?
  virtual bool MakeDefault() = 0;
};

enum class InstallResult {
  Cancelled,     // no name given, or the installation declined
  InvalidName,   // a name no printer may have
  NameTaken,     // a printer of that name exists
  NotRun,        // rundll32 could not be started, or was given up (run tells which)
  NotInstalled,  // rundll32 ran, but no printer of that name appeared
  Installed,     // installed and attached; restart tells how the restart went
  // (onlyWhatDiffers) a printer of that name with the package's model:
  Attached,          // it was on another port and has been attached as Installed tells
  AlreadyInstalled,  // it feeds the PDF port already; at most the default was set
};
struct InstallOutcome {
  InstallResult result = InstallResult::Cancelled;
  std::string name;
  RunOutcome run;  // the last rundll32 run
  RestartOutcome restart;
  // The default printer was asked for, and the spooler names another one.
  bool defaultNotSet = false;
};

// Install PS Driver, with the driver beside the tool. onlyWhatDiffers (the
// console): a printer of that name whose driver the spooler reports as the
// package's model is not installed again but attached when it is on
// another port, and made the default printer when asked and it is not.
InstallOutcome InstallPrinter(Platform& platform, IWaitPolicy& policy, IInstallQuestions& questions,
                              bool onlyWhatDiffers = false);

// What the installer's programs would have made, for a check that holds
// them back: the install line makes the printer name (on LPT1:, with the
// package's model), the default printer line makes it the default.
HeldBackProgram InstallPrograms(IFileSystem& files, const std::string& name);

}  // namespace qv
