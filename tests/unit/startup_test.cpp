// The start-up sequence as a user meets it: what it writes to the registry,
// what it asks, and what the window shows afterwards.
#include <gtest/gtest.h>

#include <functional>

#include "config/registry_layout.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

using fakes::BoxesShown;
using fakes::ErrorBox;
using fakes::FakeWorld;
namespace L = layout;

constexpr const char* kGsDir = "C:\\gs\\gs8.50\\bin\\";

// Ghostscript installed and registered the way its installer does it.
void InstallGhostscript(FakeWorld& w) {
  w.registry.PutString("SOFTWARE\\AFPL Ghostscript\\8.50", "GS_DLL",
                       std::string(kGsDir) + "gsdll32.dll");
  w.files.files.insert(std::string(kGsDir) + "gsdll32.dll");
  w.files.files.insert(std::string(kGsDir) + "gswin32c.exe");
}

class Startup : public ::testing::Test {
 protected:
  void Start() { w.Click(&TfrmMain::FormCreate); }
  FakeWorld w;
};

TEST_F(Startup, FirstStartCompletesEverythingWithoutAWord) {
  InstallGhostscript(w);
  AddPrinter(w, "Office PS", "LPT1:");
  Start();

  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_TRUE(w.dialogs.fileDialogs.empty());
  EXPECT_EQ(w.ComboBox1.items, std::vector<std::string>{"Office PS"});
  EXPECT_EQ(w.ComboBox1.index, 0);
  EXPECT_TRUE(w.ListBox1.items.empty());

  const std::string k = L::kSettingsKey;
  EXPECT_EQ(w.registry.ValueNames(k),
            (std::vector<std::string>{"GS_DLL", "GSWIN32C", "userDesktopDir", "defaultPDFFile",
                                      "defaultPDFDir", "defaultPDFAppend", "promptPDF",
                                      "finishMessage", "launchPDFApp"}));
  EXPECT_EQ(w.registry.GetString(k, "GS_DLL"), "C:\\gs\\gs8.50\\bin\\gsdll32.dll");
  EXPECT_EQ(w.registry.GetString(k, "GSWIN32C"), "C:\\gs\\gs8.50\\bin\\gswin32c.exe");
  EXPECT_EQ(w.registry.GetString(k, "userDesktopDir"), "C:\\Users\\ann\\Desktop");
  EXPECT_EQ(w.registry.GetString(k, "defaultPDFFile"), "QuorvinPDF.pdf");
  EXPECT_EQ(w.registry.GetString(k, "defaultPDFDir"), "C:\\Pkg\\PDFs");
  EXPECT_EQ(w.registry.GetString(k, "defaultPDFAppend"), "Copy");
  EXPECT_EQ(w.registry.GetDword(k, "promptPDF"), 0u);
  EXPECT_EQ(w.registry.GetDword(k, "finishMessage"), 1u);
  EXPECT_EQ(w.registry.GetDword(k, "launchPDFApp"), 1u);

  EXPECT_EQ(w.registry.GetString(L::kMonitorKey, "Driver"), "quorvinmonnt.dll");
  EXPECT_EQ(w.registry.ValueNames(L::kPdfPortKey),
            (std::vector<std::string>{"Description", "Command", "Arguments", "Printer", "Output",
                                      "ShowWindow", "RunUser", "Delay", "LogFileUse", "LogFileName",
                                      "LogFileDebug", "PrintError"}));

  EXPECT_EQ(w.Edit5.text, "C:\\gs\\gs8.50\\bin\\gswin32c.exe");
  EXPECT_EQ(w.Edit6.text, "C:\\gs\\gs8.50\\bin\\gsdll32.dll");
  EXPECT_EQ(w.Edit2.text, "QuorvinPDF.pdf");
  EXPECT_EQ(w.Edit3.text, "C:\\Pkg\\PDFs");
  EXPECT_EQ(w.Edit4.text, "Copy");
  EXPECT_FALSE(w.CheckBox1.checked);
  EXPECT_TRUE(w.CheckBox2.checked);
  EXPECT_TRUE(w.CheckBox3.checked);
  // One event per kind of change.
  EXPECT_EQ(fakes::EventSummaries(w.events),
            (std::vector<std::string>{"1006 I: The stored Ghostscript path changed.",
                                      "1005 I: The options of the PDF printer changed.",
                                      "1004 I: The PDF port's registration changed."}));
}

TEST_F(Startup, LaterStartsWriteOnlyTheDesktopFolder) {
  InstallGhostscript(w);
  AddPrinter(w, "Office PS", "LPT1:");
  Start();
  const int writes = w.registry.WriteCount();
  w.files.desktop = "D:\\Desk";
  FakeWorld& world = w;
  TfrmMain second(world.platform, world.app, world.dialogs, world.form->controls());
  world.form->Commands().Execute([&] { second.FormCreate(); });
  EXPECT_EQ(w.registry.WriteCount(), writes + 1);
  EXPECT_EQ(w.registry.GetString(L::kSettingsKey, "userDesktopDir"), "D:\\Desk");
  // A start on a machine in order records nothing.
  world.form->Commands().Execute([&] { second.FormCreate(); });
  ASSERT_EQ(w.events.events.size(), 4u);
  EXPECT_EQ(fakes::EventSummaries(w.events)[3], "1005 I: The options of the PDF printer changed.");
  EXPECT_NE(w.events.events[3].text.find(
                "userDesktopDir (32-bit view): \"C:\\Users\\ann\\Desktop\" -> \"D:\\Desk\""),
            std::string::npos)
      << w.events.events[3].text;
}

// A tool folder and a desktop beyond the code page: the start tells the
// folder once, writes nothing made from it (the silent port repair, the
// default PDF folder) nor the desktop, and goes on; Fix PDF Port refuses.
TEST_F(Startup, AFolderBeyondTheCodePageIsNeverWrittenAsALookAlike) {
  InstallGhostscript(w);
  AddPrinter(w, "Office PS", "LPT1:");
  w.files.executableInCodePage = false;
  w.files.desktop = std::nullopt;
  w.registry.PutString(L::kSettingsKey, "userDesktopDir", "D:\\Desk");
  Start();
  const std::string text =
      "This tool's folder holds characters that this system's code page cannot represent, and "
      "it has no short name.\rInstall the package in a folder whose name this code page can hold.";
  EXPECT_TRUE(BoxesShown(w.dialogs, {ErrorBox(text)}));
  EXPECT_FALSE(w.registry.HasKey(L::kPdfPortKey));
  EXPECT_FALSE(w.registry.Get(L::kSettingsKey, "defaultPDFDir").has_value());
  EXPECT_EQ(w.registry.GetString(L::kSettingsKey, "userDesktopDir"), "D:\\Desk");
  EXPECT_EQ(w.registry.GetString(L::kSettingsKey, "defaultPDFFile"), "QuorvinPDF.pdf");
  EXPECT_EQ(w.Edit2.text, "QuorvinPDF.pdf");  // the Options show what is stored
  EXPECT_EQ(w.Edit3.text, "");

  const int writes = w.registry.WriteCount();
  w.Click(&TfrmMain::LMDButton2Click);
  EXPECT_TRUE(BoxesShown(w.dialogs, {ErrorBox(text), ErrorBox(text)}));
  EXPECT_EQ(w.registry.WriteCount(), writes);
}

TEST_F(Startup, StoredOptionsAreUsedAndOnlyMissingOnesDefaulted) {
  InstallGhostscript(w);
  AddPrinter(w, "Office PS", "LPT1:");
  const std::string k = L::kSettingsKey;
  w.registry.PutString(k, "defaultPDFFile", "out.pdf");
  w.registry.PutString(k, "defaultPDFDir", "E:\\PDF\\");
  w.registry.PutString(k, "defaultPDFAppend", "");
  w.registry.PutDword(k, "promptPDF", 7);
  w.registry.PutDword(k, "finishMessage", 0);
  Start();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_EQ(w.Edit2.text, "out.pdf");
  EXPECT_EQ(w.Edit3.text, "E:\\PDF\\");
  EXPECT_EQ(w.Edit4.text, "");  // a stored empty text stays empty
  // Each box shows its own flag.
  EXPECT_TRUE(w.CheckBox1.checked);
  EXPECT_FALSE(w.CheckBox2.checked);
  EXPECT_TRUE(w.CheckBox3.checked);
  EXPECT_EQ(w.registry.GetDword(k, "promptPDF"), 7u);  // not rewritten
  EXPECT_EQ(w.registry.GetDword(k, "launchPDFApp"), 1u);
  EXPECT_EQ(w.registry.GetString(k, "defaultPDFAppend"), "");
}

TEST_F(Startup, OnlyTheMissingOptionIsWrittenBesideTheDesktopFolder) {
  const std::string k = L::kSettingsKey;
  w.registry.PutString(k, "defaultPDFFile", "a.pdf");
  w.registry.PutString(k, "defaultPDFDir", "C:\\A\\");
  w.registry.PutString(k, "defaultPDFAppend", "Copy");
  w.registry.PutDword(k, "promptPDF", 0);
  w.registry.PutDword(k, "finishMessage", 0);
  w.form->Commands().Execute([this] {
    Registry reg(w.registry);
    w.form->LoadSettings(reg, "D:\\Desk");
  });
  EXPECT_EQ(w.registry.WriteCount(), 2);  // userDesktopDir and launchPDFApp
  EXPECT_EQ(w.registry.GetDword(k, "launchPDFApp"), 1u);
  EXPECT_EQ(w.form->Settings().FinishMessage, 0);
  EXPECT_EQ(w.form->Settings().LaunchPdfApp, 1);
}

TEST_F(Startup, WrongTypesEndTheSequenceWithTheRegistryError) {
  struct Case {
    const char* name;
    std::uint32_t type;
    std::vector<unsigned char> data;
    const char* shown;
    bool unreadable = false;  // the value is there, but reading it fails
    bool utf16 = false;       // data is UTF-16LE, written with the wide API
  };
  const Case cases[] = {
      {"defaultPDFFile", kRegDword, {5, 0, 0, 0}, "Invalid data type for 'defaultPDFFile'"},
      {"defaultPDFAppend", kRegBinary, {1}, "Invalid data type for 'defaultPDFAppend'"},
      {"promptPDF", kRegSz, {'a', 'b', 'c', 'd', 0}, "Failed to get data for 'promptPDF'"},
      {"launchPDFApp", kRegBinary, {1, 0, 0, 0}, "Invalid data type for 'launchPDFApp'"},
      // Only "not found" is missing: a value that cannot be read is not
      // defaulted over.
      {"finishMessage", kRegDword, {0, 0, 0, 0}, "Failed to get data for 'finishMessage'", true},
      // "C:\\\u03a9" is no text of the code page: refused, never read as "C:\\O".
      {"defaultPDFDir",
       kRegSz,
       {'C', 0, ':', 0, '\\', 0, 0xA9, 0x03, 0, 0},
       "The value 'defaultPDFDir' holds characters that this system's code page cannot "
       "represent.",
       false,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWorld world;
    InstallGhostscript(world);
    AddPrinter(world, "Office PS", "LPT1:");
    world.registry.PutRaw(L::kSettingsKey, c.name, c.type, c.data, c.utf16);
    if (c.unreadable) world.registry.FailValue(c.name);
    world.Click(&TfrmMain::FormCreate);
    EXPECT_EQ(world.registry.Get(L::kSettingsKey, c.name)->data, c.data);
    EXPECT_TRUE(BoxesShown(world.dialogs, {ErrorBox(c.shown)}));
    // What the earlier steps filled stays; nothing after the error ran.
    EXPECT_EQ(world.ComboBox1.items.size(), 1u);
    EXPECT_FALSE(world.registry.HasKey(L::kMonitorKey));
    EXPECT_EQ(world.Edit2.text, "");
    EXPECT_EQ(world.Edit4.text, "Copy");
  }
}

// Every value of a key: name, type and bytes.
std::string Dump(const FakeWorld& w, const std::string& key) {
  std::string dump;
  for (const std::string& name : w.registry.ValueNames(key)) {
    const auto value = w.registry.Get(key, name);
    dump += name + "/" + std::to_string(value->type) + "/" +
            std::string(value->data.begin(), value->data.end()) + "\n";
  }
  return dump;
}

TEST(StartupEndedEarly, SaveChangesStoresNothingOverTheOptionsItNeverShowed) {
  const std::string k = L::kSettingsKey;
  const std::string office = L::kPrintersKeyPrefix + std::string("Office PS");
  const std::string lab = L::kPrintersKeyPrefix + std::string("Lab PS");
  const struct {
    const char* what;
    std::function<void(FakeWorld&)> arrange;
  } cases[] = {
      {"option", [&](FakeWorld& w) { w.registry.PutString(k, "promptPDF", "abcd"); }},
      {"GS_DLL", [&](FakeWorld& w) { w.registry.PutDword(k, "GS_DLL", 1); }},
      {"GSWIN32C", [&](FakeWorld& w) { w.registry.PutDword(k, "GSWIN32C", 1); }},
      {"Port", [&](FakeWorld& w) { w.registry.PutDword(office, "Port", 1); }},
      {"Driver", [](FakeWorld& w) { w.registry.PutDword(L::kMonitorKey, "Driver", 1); }},
      {"install offer",
       [&](FakeWorld& w) {
         // The installed queue's key cannot be written: the attach fails.
         w.printerBackend.names.clear();
         w.dialogs.Answer(kIdYes).Type("Lab PS").Answer(kIdYes).Answer(kIdNo);
         w.processes.waitSlices = 1;
         w.processes.onWait = [&w, lab] {
           AddPrinter(w, "Lab PS", "LPT1:");
           w.registry.SetReadOnly(lab);
         };
       }},
      {"read-only user", [](FakeWorld& w) { w.registry.SetAllReadOnly(true); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeWorld w;
    InstallGhostscript(w);
    AddPrinter(w, "Office PS", "LPT1:");
    w.registry.PutString(k, "defaultPDFFile", "mine.pdf");
    w.registry.PutString(k, "defaultPDFDir", "E:\\Out\\");
    w.registry.PutString(k, "defaultPDFAppend", "Again");
    w.registry.PutDword(k, "promptPDF", 1);
    w.registry.PutDword(k, "finishMessage", 1);
    w.registry.PutDword(k, "launchPDFApp", 7);
    c.arrange(w);
    w.Click(&TfrmMain::FormCreate);
    ASSERT_FALSE(w.dialogs.boxes.empty());
    EXPECT_EQ(w.dialogs.boxes.back().caption, "Quorvin PDF Configuration Tool");
    const std::string stored = Dump(w, k);
    const int writes = w.registry.WriteCount();
    const SettingsRecord held = w.form->Settings();
    const std::size_t shown = w.dialogs.boxes.size();
    w.CheckBox1.checked = true;  // no prompt warning either
    w.Edit2.text = "typed.pdf";
    w.Click(&TfrmMain::savechangesBtnClick);
    EXPECT_EQ(Dump(w, k), stored);
    EXPECT_EQ(w.registry.WriteCount(), writes);
    EXPECT_EQ(w.form->Settings().DefaultPdfFile, held.DefaultPdfFile);
    EXPECT_EQ(w.form->Settings().DefaultPdfDir, held.DefaultPdfDir);
    EXPECT_EQ(w.form->Settings().DefaultPdfAppend, held.DefaultPdfAppend);
    EXPECT_TRUE(w.CheckBox1.checked);
    EXPECT_TRUE(fakes::BoxesShownSince(
        w.dialogs, shown,
        {{"The stored options could not be read when this tool started, so nothing was saved "
          "over them.\rThe message shown at start-up names the cause.",
          "Changes Not Saved", 0x10}}));
  }
}

TEST_F(Startup, UserWithoutWriteAccessSeesBothSearchesAndTheDesktopError) {
  InstallGhostscript(w);
  AddPrinter(w, "Office PS", "QuorvinPDF:");
  w.registry.PutString(L::kSettingsKey, "GS_DLL", std::string(kGsDir) + "gsdll32.dll");
  w.registry.PutString(L::kSettingsKey, "GSWIN32C", std::string(kGsDir) + "gswin32c.exe");
  w.registry.SetAllReadOnly(true);
  Start();
  EXPECT_TRUE(BoxesShown(w.dialogs, {fakes::GhostscriptMissingBox("gswin32c.exe"),
                                     fakes::GhostscriptMissingBox("gsdll32.dll"),
                                     ErrorBox("Failed to set data for 'userDesktopDir'")}));
  EXPECT_EQ(w.dialogs.fileDialogs,
            (std::vector<std::string>{"open:gswin32c.exe", "open:gsdll32.dll"}));
  EXPECT_EQ(w.ComboBox1.items, std::vector<std::string>{"Office PS"});
  EXPECT_TRUE(w.ListBox1.items.empty());  // its key cannot be opened for writing
  EXPECT_EQ(w.Edit5.text, "");
  EXPECT_EQ(w.Edit6.text, "");
  EXPECT_EQ(w.Edit2.text, "");
  EXPECT_EQ(w.Edit4.text, "Copy");
  EXPECT_FALSE(w.CheckBox2.checked);
}

TEST_F(Startup, WithoutPrintersTheInstallationIsOfferedBetweenGhostscriptAndSettings) {
  InstallGhostscript(w);
  w.dialogs.onBox = [this](const fakes::FakeDialogs::Box& box) {
    if (box.caption == "Install Quorvin PostScript Printer Driver?") {
      EXPECT_TRUE(w.registry.GetString(L::kSettingsKey, "GSWIN32C").has_value());
      EXPECT_FALSE(w.registry.GetString(L::kSettingsKey, "userDesktopDir").has_value());
    }
  };
  w.dialogs.Answer(kIdNo);
  Start();
  EXPECT_TRUE(BoxesShown(
      w.dialogs, {{"You do not have any printer drivers installed to monitor for PDF creation.\r"
                   "Would you like to install one now?",
                   "Install Quorvin PostScript Printer Driver?", 0x24}}));
  EXPECT_TRUE(w.ComboBox1.items.empty());
  EXPECT_TRUE(w.ListBox1.items.empty());
  EXPECT_EQ(w.Edit2.text, "QuorvinPDF.pdf");  // the sequence went on
}

TEST_F(Startup, YesToTheOfferRunsTheInstallation) {
  InstallGhostscript(w);
  w.dialogs.Answer(kIdYes);
  w.dialogs.CancelInput();  // then the name dialog is cancelled
  Start();
  ASSERT_EQ(w.dialogs.inputs.size(), 1u);
  EXPECT_EQ(w.dialogs.inputs[0].caption, "Install Quorvin PostScript Printer");
  EXPECT_TRUE(w.processes.starts.empty());
  EXPECT_EQ(w.Edit2.text, "QuorvinPDF.pdf");
}

TEST_F(Startup, AFailingPrinterListIsShownAndTheOptionsAreStillRead) {
  // The spooler is stopped: the list is unknown, so no printer is offered,
  // and what is stored survives a Save Changes.
  InstallGhostscript(w);
  w.printerBackend.failure = fakes::kSpoolerStopped;
  const std::string k = L::kSettingsKey;
  w.registry.PutString(k, "defaultPDFFile", "mine.pdf");
  w.registry.PutString(k, "defaultPDFDir", "E:\\Out\\");
  w.registry.PutString(k, "defaultPDFAppend", "Again");
  w.registry.PutDword(k, "promptPDF", 0);
  w.registry.PutDword(k, "finishMessage", 0);
  w.registry.PutDword(k, "launchPDFApp", 1);
  Start();
  const fakes::FakeDialogs::Box stopped =
      ErrorBox("System Error.  Code: 1722.\r\nThe RPC server is unavailable.");
  EXPECT_TRUE(BoxesShown(w.dialogs, {stopped}));
  EXPECT_EQ(w.registry.GetString(L::kMonitorKey, "Driver"), "quorvinmonnt.dll");
  EXPECT_EQ(w.Edit2.text, "mine.pdf");
  EXPECT_EQ(w.Edit3.text, "E:\\Out\\");
  EXPECT_EQ(w.Edit4.text, "Again");
  EXPECT_FALSE(w.CheckBox2.checked);
  EXPECT_TRUE(w.CheckBox3.checked);

  const auto before = w.registry.ValueNames(k);
  w.Click(&TfrmMain::savechangesBtnClick);
  EXPECT_EQ(w.registry.ValueNames(k), before);
  EXPECT_EQ(w.registry.GetString(k, "defaultPDFFile"), "mine.pdf");
  EXPECT_EQ(w.registry.GetString(k, "defaultPDFDir"), "E:\\Out\\");
  EXPECT_EQ(w.registry.GetString(k, "defaultPDFAppend"), "Again");
  EXPECT_EQ(w.registry.GetDword(k, "finishMessage"), 0u);
  EXPECT_EQ(w.registry.GetDword(k, "launchPDFApp"), 1u);
  const fakes::FakeDialogs::Box saved = {"Changes have been saved.", "Changes Saved", 0};
  EXPECT_TRUE(BoxesShown(w.dialogs, {stopped, saved}));

  // Query New Printers still ends at the error.
  w.Click(&TfrmMain::LMDButton9Click);
  EXPECT_TRUE(BoxesShown(w.dialogs, {stopped, saved, stopped}));
}

TEST_F(Startup, PrintersWithoutADefaultPrinterAreAllListed) {
  // The system's printer list carries no default here at all.
  InstallGhostscript(w);
  AddPrinter(w, "First", "LPT1:");
  AddPrinter(w, "Second", "QuorvinPDF:");
  Start();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_EQ(w.ComboBox1.items, (std::vector<std::string>{"First", "Second"}));
  EXPECT_EQ(w.ListBox1.items, std::vector<std::string>{"Second"});
}

TEST_F(Startup, PortMonitorIsRepairedOnlyWhenItsDriverIsNotOurs) {
  InstallGhostscript(w);
  AddPrinter(w, "Office PS", "LPT1:");
  w.registry.PutString(L::kMonitorKey, "Driver", "QUORVINMONNT.DLL");
  w.registry.PutDword(L::kPdfPortKey, "Delay", 1000);
  Start();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_EQ(w.registry.GetString(L::kMonitorKey, "Driver"), "quorvinmonnt.dll");
  EXPECT_EQ(w.registry.GetDword(L::kPdfPortKey, "Delay"), 300u);

  // Correct driver, port values changed by hand: left alone at start.
  w.registry.PutDword(L::kPdfPortKey, "Delay", 1000);
  w.registry.PutString(L::kPdfPortKey, "Command", "X:\\elsewhere.exe");
  TfrmMain second(w.platform, w.app, w.dialogs, w.form->controls());
  second.Commands().Execute([&] { second.FormCreate(); });
  EXPECT_EQ(w.registry.GetDword(L::kPdfPortKey, "Delay"), 1000u);
  EXPECT_EQ(w.registry.GetString(L::kPdfPortKey, "Command"), "X:\\elsewhere.exe");
}

}  // namespace
}  // namespace qv
