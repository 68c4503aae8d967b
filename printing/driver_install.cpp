// "Install PS Driver": creating a PostScript printer queue from the
// package's driver, optionally making it the default printer, and pointing
// it at the PDF port.
#include "printing/driver_install.h"

#include "app/main.h"
#include "config/registry_layout.h"
#include "platform/files.h"
#include "printing/questions.h"

namespace qv {

bool IsValidPrinterName(const std::string& name, IFileSystem& files) {
  return !name.empty() && FindFirstCharacter(name, "\"\\,", files) == std::string::npos;
}

std::string InstallParameters(const std::string& name, const std::string& ownFolder) {
  return std::string("printui.dll,PrintUIEntry /if /b \"") + name + "\" /f \"" + ownFolder +
         layout::kDriverInf + "\" /q /r \"LPT1:\" /m \"" + layout::kPrinterModel + "\" /z /u";
}

std::string DefaultPrinterParameters(const std::string& name) {
  return "printui.dll,PrintUIEntry /y /n \"" + name + "\"";
}

void TfrmMain::installpsdriverBtnClick() {
  constexpr const char* kNameCaption = "Install Quorvin PostScript Printer";
  IDialogs& dialogs = platform_.dialogs;

  std::string name = layout::kPrinterModel;
  if (!dialogs.InputQuery(kNameCaption, "Enter a printer name", name)) return;
  // The name goes inside a quoted command line and becomes a registry key
  // name: refuse what no printer name may hold rather than build a broken
  // command or write into the wrong key.
  if (!IsValidPrinterName(name, platform_.files)) {
    dialogs.MessageBox(
        "The printer name must not be empty and must not contain a double quote, a backslash "
        "or a comma.",
        kNameCaption, kMbIconError);
    return;
  }
  // printui installs nothing, and says nothing, when the name is taken
  // (the registry compares printer names without case); the attach below
  // would then take over the existing printer's port.
  const std::string printerKey = layout::kPrintersKeyPrefix + name;
  if (Registry(platform_.registry).KeyExists(printerKey)) {
    dialogs.MessageBox("A printer named \"" + name +
                           "\" already exists.\rChoose another name, or use Add to send that "
                           "printer to the PDF port.",
                       kNameCaption, kMbIconError);
    return;
  }
  const std::string install = InstallParameters(name, OwnFolder());
  const std::string makeDefault = DefaultPrinterParameters(name);

  if (dialogs.MessageBox(
          "We will now install a PostScript Printer Driver and restart the Spooler Service.  "
          "This process may take a couple of minutes.\rIf you receive a message about the "
          "digital signature not found, just click YES or Continue.\rWould you like to continue?",
          kInstallQuestionCaption, kMbYesNo | kMbIconInformation) == kIdNo) {
    return;
  }
  const std::string rundll32 = SystemProgram(platform_.files, "rundll32.exe");
  RunAndWait(rundll32, install);

  {
    // The installer reports nothing back; the printer's key tells whether
    // the queue was really created.
    Registry reg(platform_.registry);
    if (!reg.KeyExists(printerKey)) {
      dialogs.MessageBox("The printer \"" + name +
                             "\" could not be installed.\rMake sure that the folder PSDriver "
                             "with QuorvinPS.INF lies beside this program, then try again.",
                         kInstallQuestionCaption, kMbIconError);
      return;
    }
  }

  if (dialogs.MessageBox(
          "The printer has been installed, would you like to make it your default printer?",
          kDefaultPrinterQuestionCaption, kMbYesNo | kMbIconInformation) == kIdYes) {
    RunAndWait(rundll32, makeDefault);
  }
  {
    Registry reg(platform_.registry);
    if (reg.KeyExists(printerKey)) {
      reg.OpenKey(printerKey, false);
      reg.WriteString(layout::kPort, layout::kPdfPortName);
      reg.CloseKey();
    }
  }
  RestartSpooler();
  RefreshPrinterList();
  RefreshMonitoredList();
  dialogs.MessageBox(
      "Processes complete.  The printer should now be installed and appear in your printers "
      "list.",
      "Processes Complete", kMbOk);
}

}  // namespace qv
