// TfrmMain's printer handlers: the two lists, Fix PDF Port, Add and Install
// PS Driver, each over its module in printing/.
#include <stdexcept>

#include "app/main.h"
#include "config/registry_layout.h"
#include "printing/attach.h"
#include "printing/install.h"
#include "printing/pdf_port.h"
#include "printing/printer_list.h"

namespace qv {
namespace {

constexpr const char* kNameCaption = "Install Quorvin PostScript Printer";
constexpr const char* kInstallCaption = "Installing PostScript Printer Driver";
constexpr const char* kCompleteCaption = "Processes Complete";

// The question Add asks, as a message box.
class AddQuestion : public IAttachQuestions {
 public:
  explicit AddQuestion(IDialogs& dialogs) : dialogs_(dialogs) {}
  bool ConfirmAttach(const std::string& printer) override {
    const std::string question = "Are you sure you wish to monitor this printer: " + printer +
                                 "?\rDoing so will change the current port to a PDF port.\r\r"
                                 "We will be restarting the Print Spooler Service during this "
                                 "process which may take up to a minute to complete\r"
                                 "Do you wish to continue?";
    return dialogs_.MessageBox(question, "Continue?", kMbYesNo | kMbIconExclamation) == kIdYes;
  }

 private:
  IDialogs& dialogs_;
};

// The questions Install PS Driver asks: the input dialog and two boxes.
class InstallQuestions : public IInstallQuestions {
 public:
  explicit InstallQuestions(IDialogs& dialogs) : dialogs_(dialogs) {}
  bool AskName(std::string& name) override {
    return dialogs_.InputQuery(kNameCaption, "Enter a printer name", name);
  }
  bool ConfirmInstall() override {
    return dialogs_.MessageBox(
               "We will now install a PostScript Printer Driver and restart the Spooler "
               "Service.  This process may take a couple of minutes.\rIf you receive a message "
               "about the digital signature not found, just click YES or Continue.\rWould you "
               "like to continue?",
               kInstallCaption, kMbYesNo | kMbIconInformation) != kIdNo;
  }
  bool MakeDefault() override {
    return dialogs_.MessageBox(
               "The printer has been installed, would you like to make it your default printer?",
               "Default Printer?", kMbYesNo | kMbIconInformation) == kIdYes;
  }

 private:
  IDialogs& dialogs_;
};

}  // namespace

void TfrmMain::RefreshPrinterList() {
  IListControl& box = controls_.ComboBox1;
  box.Clear();
  for (const std::string& name : ListPrinters(platform_->printers)) box.Add(name);
  if (box.Count() > 0) box.SetItemIndex(0);
}

void TfrmMain::RefreshMonitoredList() {
  Registry reg(platform_->registry);
  IListControl& monitored = controls_.ListBox1;
  const IListControl& installed = controls_.ComboBox1;
  monitored.Clear();
  for (int i = 0; i < installed.Count(); ++i) {
    PrinterName printer = platform_->printers.Entry(i);
    printer.name = installed.Item(i);
    if (IsMonitored(reg, printer, KeyAccess::Full)) monitored.Add(printer.name);
  }
}

void TfrmMain::LMDButton9Click() {
  RefreshPrinterList();
}

void TfrmMain::LMDButton10Click() {
  RefreshMonitoredList();
}

void TfrmMain::RestorePdfPort(bool showConfirmation) {
  // The port's paths lie in the tool's folder: one the code page cannot
  // hold is never written as a look-alike. The start-up has told it.
  const std::optional<std::string> folder = OwnFolder(platform_->files);
  if (!folder) {
    if (showConfirmation) ShowException(dialogs_, std::runtime_error(kFolderNotInCodePageText));
    return;
  }
  {
    Registry reg(platform_->registry);
    WritePdfPort(reg, *folder);
  }
  if (showConfirmation) dialogs_.MessageBox(kPortRestoredText, "Fix PDF Port", kMbOk);
}

void TfrmMain::LMDButton2Click() {
  Recorded(kEventPdfPort, "Fix PDF Port", [this](CommandOutcome& outcome) {
    RestorePdfPort(true);
    outcome.Done(kPortRestoredText);
  });
}

void TfrmMain::RestartSpooler() {
  FinishPrinterChange(qv::RestartSpooler(*platform_, wait_), nullptr);
}

void TfrmMain::FinishPrinterChange(const RestartOutcome& restart, const char* notice) {
  if (restart.result == RestartResult::ProgramNotStarted) return;  // the wait has told it
  if (!restart.InEffect()) {
    ShowException(dialogs_, std::runtime_error(restart.text));
    return;
  }
  RefreshPrinterList();
  RefreshMonitoredList();
  if (restart.result == RestartResult::DependentNotStarted) {
    dialogs_.MessageBox(restart.text, kCompleteCaption, kMbIconExclamation);
  } else if (notice != nullptr) {
    dialogs_.MessageBox(notice, kCompleteCaption, kMbOk);
  }
}

void TfrmMain::LMDButton1Click() {
  const IListControl& box = controls_.ComboBox1;
  const int index = box.ItemIndex();
  if (box.Item(index).empty()) {
    dialogs_.MessageBox(
        "You must select a valid PostScript printer from the Printers list before you can add "
        "it for monitoring.\rIf you do not have any PostScript printers in the printers list, "
        "click on the Install PS Driver button.",
        kCompleteCaption, kMbIconError);
    return;
  }
  Recorded(kEventAttach, "Add", [this, &box, index](CommandOutcome& event) {
    // The box lists what the printer service lists, in the same order.
    PrinterName printer = platform_->printers.Entry(index);
    printer.name = box.Item(index);
    AddQuestion question(dialogs_);
    const AttachOutcome outcome = AttachPrinter(*platform_, wait_, question, printer);
    if (outcome.result == AttachResult::NotAddressable) {
      dialogs_.MessageBox(kNameNotInCodePageText, "Printer Name Not Supported", kMbIconError);
    } else if (outcome.result == AttachResult::Attached) {
      event.After(outcome.restart, kAttachedText);
      FinishPrinterChange(outcome.restart, kAttachedText);
    }
  });
}

void TfrmMain::installpsdriverBtnClick() {
  Recorded(kEventInstall, "Install PS Driver", [this](CommandOutcome& event) {
    InstallQuestions questions(dialogs_);
    const InstallOutcome outcome = InstallPrinter(*platform_, wait_, questions);
    switch (outcome.result) {
      case InstallResult::InvalidName:
        dialogs_.MessageBox(kInvalidPrinterNameText, kNameCaption, kMbIconError);
        break;
      case InstallResult::NameTaken:
        dialogs_.MessageBox(NameTakenText(outcome.name), kNameCaption, kMbIconError);
        break;
      case InstallResult::NotInstalled:
        event.text = NotInstalledText(outcome.name);
        dialogs_.MessageBox(event.text, kInstallCaption, kMbIconError);
        break;
      case InstallResult::Installed:
        event.After(outcome.restart, kInstalledText);
        FinishPrinterChange(outcome.restart, kInstalledText);
        break;
      case InstallResult::NotRun:
        event.text = outcome.run.text;
        // A program that could not start has been told by the wait.
        if (outcome.run.result == RunResult::Abandoned) {
          ShowException(dialogs_, std::runtime_error(outcome.run.text));
        }
        break;
      case InstallResult::Attached:          // only the console converges
      case InstallResult::AlreadyInstalled:  // on an existing printer
      case InstallResult::Cancelled:
        break;
    }
  });
}

}  // namespace qv
