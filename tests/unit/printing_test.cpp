// Printer lists, the PDF port, the command runner, Add and Install PS Driver.
#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "config/registry_layout.h"
#include "printing/install.h"
#include "printing/printer_list.h"
#include "tests/common/texts.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

using fakes::BoxesShown;
using fakes::BoxesShownSince;
using fakes::ErrorBox;
using fakes::EventSummaries;
using fakes::FakeWorld;
using Events = std::vector<std::string>;
namespace L = layout;

std::vector<std::string> Starts(const FakeWorld& w) {
  std::vector<std::string> s;
  for (const auto& start : w.processes.starts) s.push_back(start.file + " " + start.parameters);
  return s;
}

// Programs are started from the system folder by their full path.
const std::string kNet = "C:\\Windows\\system32\\net.exe";
const std::string kRundll32 = "C:\\Windows\\system32\\rundll32.exe";
const std::vector<std::string> kSpoolerRestart = {kNet + " STOP SPOOLER", kNet + " START SPOOLER"};

// rundll32's call that installs a printer of this name from that folder.
std::string InstallCall(const std::string& name, const std::string& folder = "C:\\Pkg\\") {
  return kRundll32 + " printui.dll,PrintUIEntry /if /b \"" + name + "\" /f \"" + folder +
         "PSDriver\\QuorvinPS.INF\" /q /r \"LPT1:\" /m \"Quorvin PDF Printer\" /z /u";
}

// The question after each five minutes that a program runs, and the end
// of the wait when it is declined.
fakes::FakeDialogs::Box StillRunning(const std::string& call, int minutes) {
  return {"\"" + call + "\" has been running for " + std::to_string(minutes) +
              " minutes.\rWait for it another 5 minutes?",
          "Still Running", 0x24};
}
fakes::FakeDialogs::Box GivenUp(const std::string& call, int seconds) {
  return ErrorBox("\"" + call + "\" did not finish within " + std::to_string(seconds) +
                  " seconds; it is still running.");
}

// The installer creates the queue while it runs, as printui does.
void InstallerCreates(FakeWorld& w, const std::string& name) {
  w.processes.waitSlices = 1;
  w.processes.onWait = [&w, name] {
    if (w.processes.starts.size() == 1 && w.printerBackend.names.empty()) {
      AddPrinter(w, name, "LPT1:");
    }
  };
}

TEST(PrinterLists, OnlyExactPdfPortsAreMonitored) {
  FakeWorld w;
  // A port the code page cannot hold is simply not ours: the pass goes on.
  AddPrinter(w, "Wide", "");
  w.registry.PutWide(L::kPrintersKeyPrefix + std::string("Wide"), "Port", u"QuorvinPDF:\u03a9");
  AddPrinter(w, "Plain", "LPT1:");
  AddPrinter(w, "Pdf", "QuorvinPDF:");
  AddPrinter(w, "Lower", "quorvinpdf:");
  AddPrinter(w, "Blank", "QuorvinPDF: ");
  w.printerBackend.names.push_back("\\\\server\\Shared");  // a connection: no key of its own
  AddPrinter(w, "NoPort", "");
  // Listed as "?-Printer": the key of that name is another printer's.
  AddPrinter(w, "?-Printer", "QuorvinPDF:");
  w.printerBackend.inexact["?-Printer"] = "\xce\xa9-Printer";
  w.Click(&TfrmMain::LMDButton9Click);
  EXPECT_EQ(w.ComboBox1.items.size(), 8u);
  EXPECT_EQ(w.ComboBox1.index, 0);
  EXPECT_TRUE(w.ListBox1.items.empty());  // Query New Printers leaves this list alone
  w.Click(&TfrmMain::LMDButton10Click);
  EXPECT_EQ(w.ListBox1.items, std::vector<std::string>{"Pdf"});
  EXPECT_TRUE(w.dialogs.boxes.empty());
  // A key the caller left open is not read in place of one that is missing.
  Registry reg(w.registry);
  reg.OpenKey(L::kPrintersKeyPrefix + std::string("Pdf"), false);
  EXPECT_FALSE(IsMonitored(reg, {"\\\\server\\Shared", true, ""}, KeyAccess::Full));
}

TEST(PrinterLists, NoPrintersGiveTwoEmptyLists) {
  FakeWorld w;
  w.ListBox1.items = {"stale"};
  w.Click(&TfrmMain::LMDButton9Click);
  w.Click(&TfrmMain::LMDButton10Click);
  EXPECT_TRUE(w.ComboBox1.items.empty());
  EXPECT_EQ(w.ComboBox1.index, -1);
  EXPECT_TRUE(w.ListBox1.items.empty());
}

TEST(PrinterLists, NonStringPortEndsThePass) {
  FakeWorld w;
  AddPrinter(w, "A", "QuorvinPDF:");
  w.printerBackend.names.push_back("B");
  w.registry.PutDword(L::kPrintersKeyPrefix + std::string("B"), "Port", 1);
  AddPrinter(w, "C", "QuorvinPDF:");
  w.Click(&TfrmMain::LMDButton9Click);
  w.Click(&TfrmMain::LMDButton10Click);
  EXPECT_EQ(w.ListBox1.items, std::vector<std::string>{"A"});
  EXPECT_TRUE(BoxesShown(w.dialogs, {ErrorBox("Invalid data type for 'Port'")}));
}

TEST(PdfPort, FixWritesTheTwelveValuesEveryTimeAndConfirms) {
  FakeWorld w;
  w.registry.PutDword(L::kPdfPortKey, "Delay", 1000);
  w.registry.PutString(L::kPdfPortKey, "Extra", "kept");
  w.Click(&TfrmMain::LMDButton2Click);
  w.Click(&TfrmMain::LMDButton2Click);
  const std::string k = L::kPdfPortKey;
  EXPECT_EQ(w.registry.GetString(L::kMonitorKey, "Driver"), "quorvinmonnt.dll");
  EXPECT_TRUE(w.registry.HasKey(L::kPortsKey));
  EXPECT_EQ(w.registry.GetString(k, "Description"), "Quorvin PDF Port");
  EXPECT_EQ(w.registry.GetString(k, "Command"), "C:\\Pkg\\qvpdfrun.exe");
  EXPECT_EQ(w.registry.GetString(k, "Arguments"), "C:\\Pkg\\QVPDFDistiller.exe %1");
  EXPECT_EQ(w.registry.GetString(k, "Printer"), "");
  EXPECT_EQ(w.registry.GetDword(k, "Output"), 0u);
  EXPECT_EQ(w.registry.GetDword(k, "ShowWindow"), 2u);
  EXPECT_EQ(w.registry.GetDword(k, "RunUser"), 1u);
  EXPECT_EQ(w.registry.GetDword(k, "Delay"), 300u);
  EXPECT_EQ(w.registry.GetDword(k, "LogFileUse"), 0u);
  EXPECT_EQ(w.registry.GetString(k, "LogFileName"), "");
  EXPECT_EQ(w.registry.GetDword(k, "LogFileDebug"), 0u);
  EXPECT_EQ(w.registry.GetDword(k, "PrintError"), 0u);
  EXPECT_EQ(w.registry.GetString(k, "Extra"), "kept");
  // In the order they are written (the kept value came first).
  EXPECT_EQ(w.registry.ValueNames(k),
            (std::vector<std::string>{"Delay", "Extra", "Description", "Command", "Arguments",
                                      "Printer", "Output", "ShowWindow", "RunUser", "LogFileUse",
                                      "LogFileName", "LogFileDebug", "PrintError"}));
  const fakes::FakeDialogs::Box restored = {"The default PDF port properties have been restored.",
                                            "Fix PDF Port", 0};
  EXPECT_TRUE(BoxesShown(w.dialogs, {restored, restored}));
  EXPECT_TRUE(w.processes.starts.empty());  // the spooler is not restarted
  // The second click wrote only what was there: one event.
  EXPECT_EQ(EventSummaries(w.events), Events{"1004 I: The PDF port's registration changed."});
  EXPECT_NE(w.events.events[0].text.find("  HKEY_LOCAL_MACHINE\\" + k +
                                         "\\Delay (32-bit view): 1000 -> 300\r\n"),
            std::string::npos)
      << w.events.events[0].text;
}

TEST(PdfPort, WithoutWriteAccessTheDriverWriteFails) {
  FakeWorld w;
  w.registry.SetAllReadOnly(true);
  w.Click(&TfrmMain::LMDButton2Click);
  EXPECT_TRUE(BoxesShown(w.dialogs, {ErrorBox("Failed to set data for 'Driver'")}));
}

TEST(PdfPort, FailingPortsKeyCreationNamesTheKey) {
  FakeWorld w;
  w.registry.AddKey(L::kMonitorKey);
  w.registry.SetReadOnly(std::string(L::kMonitorKey) + "\\Ports");
  // The monitor key itself stays writable; only below Ports is refused.
  w.registry.SetReadOnly(L::kPortsKey);
  w.Click(&TfrmMain::LMDButton2Click);
  EXPECT_TRUE(
      BoxesShown(w.dialogs, {ErrorBox("Failed to create key SYSTEM\\CurrentControlSet\\"
                                      "Control\\Print\\Monitors\\Quorvin PDF Port\\Ports.")}));
  EXPECT_EQ(w.registry.GetString(L::kMonitorKey, "Driver"), "quorvinmonnt.dll");
}

TEST(CommandRunner, FailedStartShowsTheSystemTextAndTheRestartGoesOn) {
  FakeWorld w;
  w.processes.missingPrograms = {kNet};
  w.form->Commands().Execute([&] { w.form->RestartSpooler(); });
  EXPECT_EQ(Starts(w), kSpoolerRestart);
  EXPECT_EQ(w.dialogs.messages,
            (std::vector<std::string>{"The system cannot find the file specified",
                                      "The system cannot find the file specified"}));
}

TEST(CommandRunner, WaitKeepsTheWindowAliveButHoldsBackCommands) {
  FakeWorld w;
  AddPrinter(w, "Office PS", "LPT1:");
  w.processes.waitSlices = 3;
  w.spooler.stoppingMs = 1000;
  int clicksTried = 0;
  w.processes.onWait = [&] {
    // Buttons pressed while NET runs: Fix PDF Port is held back, About
    // opens at once, Exit closes once the command has finished.
    ++clicksTried;
    EXPECT_TRUE(w.form->ButtonClick(kIdLMDButton2));
    EXPECT_TRUE(w.form->ButtonClick(kIdLMDButton7));
    EXPECT_EQ(w.aboutShown, clicksTried);
    EXPECT_TRUE(w.form->ButtonClick(kIdLMDButton3));
    EXPECT_EQ(w.closes, 0);
  };
  w.form->Commands().Execute([&] { w.form->RestartSpooler(); });
  EXPECT_EQ(clicksTried, 6);
  // Messages pumped at every start and slice, and every 10 ms of the
  // second that the spooler takes to stop.
  EXPECT_EQ(w.app.processed, 8 + 100);
  EXPECT_TRUE(w.dialogs.boxes.empty());  // Fix PDF Port never ran
  EXPECT_FALSE(w.registry.HasKey(L::kMonitorKey));
  EXPECT_EQ(Starts(w), kSpoolerRestart);  // both calls made before the close
  EXPECT_EQ(w.closes, 1);
  EXPECT_FALSE(w.form->ButtonClick(kIdEdit2));  // not a button
}

class AddPrinterCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    AddPrinter(w, "Other", "LPT1:");
    AddPrinter(w, "Office PS", "LPT2:");
    w.form->RefreshPrinterList();
  }
  FakeWorld w;
};

TEST_F(AddPrinterCommand, EmptySelectionOnlyExplains) {
  w.ComboBox1.index = -1;
  w.Click(&TfrmMain::LMDButton1Click);
  EXPECT_TRUE(BoxesShown(
      w.dialogs, {{"You must select a valid PostScript printer from the Printers list before you "
                   "can add it for monitoring.\rIf you do not have any PostScript printers in the "
                   "printers list, click on the Install PS Driver button.",
                   "Processes Complete", 0x10}}));
  EXPECT_TRUE(w.processes.starts.empty());
}

TEST_F(AddPrinterCommand, ConfirmedAddPointsThePrinterAtThePdfPort) {
  w.ComboBox1.index = 1;
  w.dialogs.Answer(kIdYes);
  w.Click(&TfrmMain::LMDButton1Click);
  EXPECT_TRUE(BoxesShown(
      w.dialogs, {{"Are you sure you wish to monitor this printer: Office PS?\r"
                   "Doing so will change the current port to a PDF port.\r\r"
                   "We will be restarting the Print Spooler Service during this process which may "
                   "take up to a minute to complete\rDo you wish to continue?",
                   "Continue?", 0x34},
                  {texts::kPrinterAddedText, "Processes Complete", 0}}));
  EXPECT_EQ(w.registry.GetString(L::kPrintersKeyPrefix + std::string("Office PS"), "Port"),
            "QuorvinPDF:");
  EXPECT_EQ(w.registry.GetString(L::kPreviousPortsKey, "Office PS"), "LPT2:");  // for detach
  EXPECT_EQ(Starts(w), kSpoolerRestart);
  EXPECT_EQ(w.ComboBox1.index, 0);  // lists rebuilt
  EXPECT_EQ(w.ListBox1.items, std::vector<std::string>{"Office PS"});
  ASSERT_EQ(EventSummaries(w.events),
            Events{"1001 I: Printer \"Office PS\": port \"LPT2:\" -> \"QuorvinPDF:\""});
  EXPECT_NE(w.events.events[0].text.find("Program: QuorvinConfig.exe\r\nCommand: Add\r\n"),
            std::string::npos)
      << w.events.events[0].text;
}

TEST_F(AddPrinterCommand, ANameBeyondTheCodePageIsRefusedBeforeTheQuestion) {
  AddPrinter(w, "?-Printer", "LPT3:");
  w.printerBackend.inexact["?-Printer"] = "\xce\xa9-Printer";
  w.form->RefreshPrinterList();
  w.ComboBox1.index = 2;
  w.Click(&TfrmMain::LMDButton1Click);
  EXPECT_TRUE(BoxesShown(
      w.dialogs, {{"The name of this printer holds characters that this system's code page cannot "
                   "represent, so this tool cannot send it to the PDF port.\rRename the printer, "
                   "then press Query New Printers.",
                   "Printer Name Not Supported", 0x10}}));
  EXPECT_EQ(w.registry.WriteCount(), 0);
  EXPECT_TRUE(w.processes.starts.empty());
  EXPECT_TRUE(w.events.events.empty());
}

TEST_F(AddPrinterCommand, NoChangesNothing) {
  w.dialogs.Answer(kIdNo);
  w.Click(&TfrmMain::LMDButton1Click);
  EXPECT_EQ(w.registry.WriteCount(), 0);
  EXPECT_TRUE(w.processes.starts.empty());
  EXPECT_TRUE(w.events.events.empty());
}

TEST_F(AddPrinterCommand, PrinterWithoutAKeyFailsBeforeTheRestartAndCreatesNone) {
  // A network connection, and a printer listed without a key of its own.
  w.printerBackend.names.push_back("\\\\server\\Shared");
  w.printerBackend.names.push_back("Ghost");
  w.form->RefreshPrinterList();
  for (int index : {2, 3}) {
    w.dialogs.boxes.clear();
    w.ComboBox1.index = index;
    w.dialogs.Answer(kIdYes);
    w.Click(&TfrmMain::LMDButton1Click);
    EXPECT_TRUE(BoxesShownSince(w.dialogs, 1, {ErrorBox("Failed to set data for 'Port'")}));
    EXPECT_FALSE(w.registry.HasKey(L::kPrintersKeyPrefix + w.ComboBox1.Item(index)));
  }
  EXPECT_TRUE(w.processes.starts.empty());
}

// How Add tells the restart's outcome, and the question after each five
// minutes that a program runs: each row's boxes after the confirmation.
TEST_F(AddPrinterCommand, TheRestartsOutcomeAndTheStillRunningQuestion) {
  using Arrange = std::function<void(FakeWorld&)>;
  const std::string title = kApplicationTitle, done = "Processes Complete";
  const std::string attached = texts::kPrinterAddedText, stop = kNet + " STOP SPOOLER";
  // NET STOP runs for that many minutes; the questions are answered so.
  const auto netRuns = [](int minutes, std::vector<int> answers) {
    return [=](FakeWorld& w) {
      w.processes.waitSlices = minutes * 60 * 20;
      w.processes.onWait = [&w] {
        if (w.processes.starts.size() == 1) w.clock.now += 50;
      };
      for (const int answer : answers) w.dialogs.Answer(answer);
    };
  };
  struct Case {
    Arrange arrange;
    std::vector<fakes::FakeDialogs::Box> boxes;
    std::size_t starts;
    bool listed;  // the lists were rebuilt
    char level;   // the event's: information, warning or error
  };
  const Case cases[] = {
      {[](FakeWorld& w) { w.spooler.afterStop = ServiceState::Running; },
       {{"The print spooler could not be stopped, so the change has not taken effect.", title,
         0x10}},
       2,
       false,
       'E'},
      {[](FakeWorld& w) { w.spooler.afterStart = ServiceState::Stopped; },
       {{"The print spooler could not be started again.", title, 0x10}},
       2,
       false,
       'E'},
      {[](FakeWorld& w) { w.spooler.reportedPort = "LPT2:"; },
       {{"The print spooler does not report \"Office PS\" on the PDF port, so the change has "
         "not taken effect.",
         title, 0x10}},
       2,
       false,
       'E'},
      {[](FakeWorld& w) {
         w.spooler.dependents = {{{"Fax", "Fax"}, true, false}};
       },
       {{"The printer now feeds the PDF port, but the service \"Fax\" could not be started "
         "again after the print spooler restarted.",
         done, 0x30}},
       2,
       true,
       'W'},
      {netRuns(7, {kIdYes}), {StillRunning(stop, 5), {attached, done, 0}}, 2, true, 'I'},
      {netRuns(60, {kIdNo}), {StillRunning(stop, 5), GivenUp(stop, 300)}, 1, false, 'E'},
      {netRuns(60, {kIdYes, kIdNo}),
       {StillRunning(stop, 5), StillRunning(stop, 10), GivenUp(stop, 600)},
       1,
       false,
       'E'},
      // Ended while the question was shown: it carries on, whatever the answer.
      {netRuns(5, {kIdNo}), {StillRunning(stop, 5), {attached, done, 0}}, 2, true, 'I'},
      // Each question stays two minutes: the next comes five after the answer.
      {[netRuns](FakeWorld& w) {
         netRuns(60, {kIdYes, kIdNo})(w);
         w.dialogs.onBox = [&w](const fakes::FakeDialogs::Box& box) {
           if (box.caption == "Still Running") w.clock.now += 2 * 60 * 1000;
         };
       },
       {StillRunning(stop, 5), StillRunning(stop, 12), GivenUp(stop, 840)},
       1,
       false,
       'E'},
      // Each program is first asked about five minutes after its own start.
      {[](FakeWorld& w) {
         w.processes.waitSlices = 7 * 60 * 20;
         w.processes.onWait = [&w] { w.clock.now += 50; };
         w.dialogs.Answer(kIdYes).Answer(kIdYes);
       },
       {StillRunning(stop, 5), StillRunning(kNet + " START SPOOLER", 5), {attached, done, 0}},
       2,
       true,
       'I'},
      // NET START could not be started: the wait has told it, nothing more.
      {[](FakeWorld& w) { w.processes.FailStart(2); }, {}, 2, false, 'E'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
    FakeWorld world;
    AddPrinter(world, "Office PS", "LPT2:");
    world.form->RefreshPrinterList();
    world.dialogs.Answer(kIdYes);
    c.arrange(world);
    world.Click(&TfrmMain::LMDButton1Click);
    EXPECT_TRUE(BoxesShownSince(world.dialogs, 1, c.boxes));
    EXPECT_EQ(world.processes.starts.size(), c.starts);
    EXPECT_EQ(world.ListBox1.items.size(), c.listed ? 1u : 0u);
    // Port written, whatever the restart did: on record.
    EXPECT_EQ(EventSummaries(world.events),
              Events{std::string("1001 ") + c.level +
                     ": Printer \"Office PS\": port \"LPT2:\" -> \"QuorvinPDF:\""});
  }
}

TEST(DriverParameters, AreBuiltExactly) {
  EXPECT_EQ(
      InstallParameters("Quorvin PDF Printer", "C:\\Pkg\\"),
      "printui.dll,PrintUIEntry /if /b \"Quorvin PDF Printer\" /f "
      "\"C:\\Pkg\\PSDriver\\QuorvinPS.INF\" /q /r \"LPT1:\" /m \"Quorvin PDF Printer\" /z /u");
  EXPECT_EQ(InstallParameters("Mine", "D:\\"),
            "printui.dll,PrintUIEntry /if /b \"Mine\" /f \"D:\\PSDriver\\QuorvinPS.INF\" /q /r "
            "\"LPT1:\" /m \"Quorvin PDF Printer\" /z /u");
  EXPECT_EQ(DefaultPrinterParameters("Mine"), "printui.dll,PrintUIEntry /y /n \"Mine\"");
  fakes::FakeFiles files;
  EXPECT_TRUE(IsValidPrinterName("Quorvin PDF Printer", files));
  for (const char* bad : {"", "a\"b", "a\\b", "a,b", "\\\\server\\x", "\x83\x5C"}) {
    EXPECT_FALSE(IsValidPrinterName(bad, files)) << bad;
  }
  // In code page 932, "\x83\x5C" is one character whose second byte only
  // reads as a backslash; a lone backslash after it still counts.
  files.codePage = 932;
  EXPECT_TRUE(IsValidPrinterName("PDF \x83\x5C", files));
  EXPECT_FALSE(IsValidPrinterName("PDF \x83\x5C\\", files));
}

class InstallDriver : public ::testing::Test {
 protected:
  const fakes::FakeDialogs::Box kInstallQuestion = {
      "We will now install a PostScript Printer Driver and restart the Spooler Service.  This "
      "process may take a couple of minutes.\rIf you receive a message about the digital "
      "signature not found, just click YES or Continue.\rWould you like to continue?",
      "Installing PostScript Printer Driver", 0x44};
  FakeWorld w;
};

TEST_F(InstallDriver, CancelOrNoRunsNothing) {
  w.dialogs.CancelInput();
  w.Click(&TfrmMain::installpsdriverBtnClick);
  w.dialogs.Type("Mine").Answer(kIdNo);
  w.Click(&TfrmMain::installpsdriverBtnClick);
  EXPECT_TRUE(w.processes.starts.empty());
  EXPECT_EQ(w.registry.WriteCount(), 0);
  EXPECT_TRUE(w.events.events.empty());
  ASSERT_EQ(w.dialogs.inputs.size(), 2u);
  EXPECT_EQ(w.dialogs.inputs[0].caption, "Install Quorvin PostScript Printer");
  EXPECT_EQ(w.dialogs.inputs[0].prompt, "Enter a printer name");
  EXPECT_EQ(w.dialogs.inputs[0].initial, "Quorvin PDF Printer");
}

TEST_F(InstallDriver, UnsafeNamesAreRefusedBeforeAnythingRuns) {
  for (const char* bad : {"", "My \"PDF\"", "a\\b", "a,b"}) {
    FakeWorld world;
    world.dialogs.Type(bad);
    world.Click(&TfrmMain::installpsdriverBtnClick);
    EXPECT_TRUE(BoxesShown(world.dialogs, {{"The printer name must not be empty and must not "
                                            "contain a double quote, a backslash or a comma.",
                                            "Install Quorvin PostScript Printer", 0x10}}))
        << bad;
    EXPECT_TRUE(world.processes.starts.empty());
    EXPECT_EQ(world.registry.WriteCount(), 0);
  }
}

TEST_F(InstallDriver, AnExistingNameIsRefusedWhateverItsCase) {
  for (const char* typed : {"office ps", "Office PS", "OFFICE PS"}) {
    FakeWorld world;
    AddPrinter(world, "Office PS", "LPT2:");
    world.dialogs.Type(typed);
    world.Click(&TfrmMain::installpsdriverBtnClick);
    EXPECT_TRUE(BoxesShown(world.dialogs, {{"A printer named \"" + std::string(typed) +
                                                "\" already exists.\rChoose another name, or "
                                                "use Add to send that printer to the PDF port.",
                                            "Install Quorvin PostScript Printer", 0x10}}));
    EXPECT_TRUE(world.processes.starts.empty());
    EXPECT_EQ(world.registry.GetString(L::kPrintersKeyPrefix + std::string("Office PS"), "Port"),
              "LPT2:");
  }
}

TEST_F(InstallDriver, FailedInstallationIsReportedAndStops) {
  // rundll32 runs, but no printer key appears.
  w.dialogs.Type("Quorvin PDF Printer").Answer(kIdYes);
  w.Click(&TfrmMain::installpsdriverBtnClick);
  EXPECT_EQ(Starts(w), std::vector<std::string>{InstallCall("Quorvin PDF Printer")});
  EXPECT_TRUE(BoxesShown(
      w.dialogs, {kInstallQuestion,
                  {"The printer \"Quorvin PDF Printer\" could not be installed.\rMake sure that "
                   "the folder PSDriver with QuorvinPS.INF lies beside this program, then try "
                   "again.",
                   "Installing PostScript Printer Driver", 0x10}}));
  EXPECT_EQ(w.registry.WriteCount(), 0);
  // rundll32 ran: on record, as a failure.
  EXPECT_EQ(EventSummaries(w.events),
            Events{"1002 E: The installation of a PostScript printer ran."});
}

TEST_F(InstallDriver, AHungInstallerGivenUpStartsNothingMore) {
  // From a folder beyond the code page: shown in its short form, started
  // with its exact name.
  w.files.executable = "C:\\PKG~1\\QuorvinConfig.exe";
  w.files.executableUtf8 = "C:\\P\xce\xa9g\\QuorvinConfig.exe";
  w.dialogs.Type("Lab").Answer(kIdYes).Answer(kIdNo);
  w.processes.waitSlices = 1000000;
  w.processes.onWait = [this] { w.clock.now += 50; };
  w.Click(&TfrmMain::installpsdriverBtnClick);
  const std::string shown = InstallCall("Lab", "C:\\PKG~1\\");
  EXPECT_TRUE(
      BoxesShown(w.dialogs, {kInstallQuestion, StillRunning(shown, 5), GivenUp(shown, 300)}));
  EXPECT_EQ(Starts(w), std::vector<std::string>{InstallCall("Lab", "C:\\P\xce\xa9g\\")});
  EXPECT_EQ(w.registry.WriteCount(), 0);
}

TEST_F(InstallDriver, InstalledPrinterIsAttachedRestartedAndListed) {
  w.dialogs.Type("Office PS").Answer(kIdYes).Answer(kIdNo);
  InstallerCreates(w, "Office PS");
  w.Click(&TfrmMain::installpsdriverBtnClick);
  std::vector<std::string> expected = {InstallCall("Office PS")};
  expected.insert(expected.end(), kSpoolerRestart.begin(), kSpoolerRestart.end());
  EXPECT_EQ(Starts(w), expected);  // No to the default question: no /y call
  EXPECT_TRUE(BoxesShown(
      w.dialogs,
      {kInstallQuestion,
       {"The printer has been installed, would you like to make it your default printer?",
        "Default Printer?", 0x44},
       {"Processes complete.  The printer should now be installed and appear in your printers "
        "list.",
        "Processes Complete", 0}}));
  EXPECT_EQ(w.registry.GetString(L::kPrintersKeyPrefix + std::string("Office PS"), "Port"),
            "QuorvinPDF:");
  EXPECT_EQ(w.registry.GetString(L::kPreviousPortsKey, "Office PS"), "LPT1:");  // where made
  EXPECT_EQ(w.ComboBox1.items, std::vector<std::string>{"Office PS"});
  EXPECT_EQ(w.ListBox1.items, std::vector<std::string>{"Office PS"});
  EXPECT_EQ(EventSummaries(w.events),
            Events{"1002 I: Printer \"Office PS\": port \"LPT1:\" -> \"QuorvinPDF:\""});
}

TEST_F(InstallDriver, YesToDefaultRunsTheSecondCall) {
  w.dialogs.Type("Office PS").Answer(kIdYes).Answer(kIdYes);
  InstallerCreates(w, "Office PS");
  w.Click(&TfrmMain::installpsdriverBtnClick);
  ASSERT_EQ(w.processes.starts.size(), 4u);
  EXPECT_EQ(w.processes.starts[1].file, kRundll32);
  EXPECT_EQ(w.processes.starts[1].parameters, "printui.dll,PrintUIEntry /y /n \"Office PS\"");
}

TEST_F(InstallDriver, ReadOnlyUserFailsAtThePortWriteBeforeTheRestart) {
  w.registry.SetAllReadOnly(true);
  w.dialogs.Type("Office PS").Answer(kIdYes).Answer(kIdNo);
  InstallerCreates(w, "Office PS");
  w.Click(&TfrmMain::installpsdriverBtnClick);
  EXPECT_TRUE(BoxesShownSince(w.dialogs, 2, {ErrorBox("Failed to set data for 'Port'")}));
  EXPECT_EQ(w.processes.starts.size(), 1u);
}

}  // namespace
}  // namespace qv
