// The console's change commands as configuration engines run them: set's
// refusals of what the distiller can never use, --check, which predicts
// without touching anything, --json, and commands that change only what
// differs.
#include <gtest/gtest.h>

#include <functional>

#include "config/registry_layout.h"
#include "console/change_run.h"
#include "console/console.h"
#include "platform/changes.h"
#include "platform/registry.h"
#include "printing/change_event.h"
#include "printing/install.h"
#include "printing/pdf_port.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

using fakes::FakeWorld;
namespace L = layout;

// One machine and the console's output on it.
struct Machine {
  Machine() { w.files.files = {"C:\\Pkg\\qvpdfrun.exe", "C:\\Pkg\\QVPDFDistiller.exe"}; }
  int Exec(const std::vector<std::string>& args) {
    output.out.clear();
    output.err.clear();
    return RunConsole(args, services);
  }
  FakeWorld w;
  fakes::FakeOutput output;
  ConsoleServices services{w.platform, output};
};

class Converge : public ::testing::Test, protected Machine {};

// The object's list of changes, a held-back program counted as ended.
std::string ChangesOf(const std::string& json) {
  const auto from = json.find("\"changes\": [");
  const auto to = json.find("\"notices\":");
  if (from == std::string::npos || to == std::string::npos) return "(no object) " + json;
  std::string changes = json.substr(from, to - from);
  const std::string held = "\"ended\": \"held back\"";
  for (auto at = changes.find(held); at != std::string::npos; at = changes.find(held)) {
    changes.replace(at, held.size(), "\"ended\": \"ended\"");
  }
  return changes;
}

TEST_F(Converge, SetRefusesWhatTheDistillerCanNeverUseAndWritesNothing) {
  const std::string longName(260, 'a');
  const struct {
    std::string assignment;
    std::string err;  // after "Argument 2: "
  } refused[] = {
      {"defaultPDFFile=a/b:c*?.pdf",
       "defaultPDFFile holds \"/\", which Windows does not allow in a file name."},
      {"defaultPDFFile=a<b",
       "defaultPDFFile holds \"<\", which Windows does not allow in a file name."},
      {"defaultPDFFile=a|b",
       "defaultPDFFile holds \"|\", which Windows does not allow in a file name."},
      {"defaultPDFFile=a\\b.pdf",
       "defaultPDFFile holds \"\\\", which Windows does not allow in a file name."},
      {"defaultPDFFile=a\tb.pdf",
       "defaultPDFFile holds a control character, which Windows does not allow in a file name."},
      {"defaultPDFFile=", "defaultPDFFile is empty: the PDF needs a file name."},
      {"defaultPDFFile=" + longName,
       "defaultPDFFile is 260 characters long; Windows takes at most 259."},
      {"defaultPDFAppend=Copy>",
       "defaultPDFAppend holds \">\", which Windows does not allow in a file name."},
      {"defaultPDFAppend=a,b",
       "defaultPDFAppend holds a comma, which the window warns against in this text."},
      {"defaultPDFAppend=\x1f",
       "defaultPDFAppend holds a control character, which Windows does not allow in a file name."},
      {"defaultPDFDir=", "defaultPDFDir is empty: the PDF needs a folder."},
      {"defaultPDFDir=PDFs",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=C:PDFs",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=\\PDFs",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=\\\\server",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=\\\\server\\",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=\\\\\\share",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=C:\\a:b",
       "defaultPDFDir holds \":\", which Windows does not allow in a folder name."},
      {"defaultPDFDir=\\\\srv\\s?",
       "defaultPDFDir holds \"?\", which Windows does not allow in a folder name."},
      {"defaultPDFDir=C:\\a/b",
       "defaultPDFDir holds \"/\", which Windows does not allow in a folder name."},
      {"defaultPDFDir=C:\\a\rb",
       "defaultPDFDir holds a control character, which Windows does not allow in a folder name."},
      {"GS_DLL=C:\\" + longName, "GS_DLL is 263 characters long; Windows takes at most 259."},
  };
  for (const auto& r : refused) {
    EXPECT_EQ(Exec({"set", r.assignment, "promptPDF=1"}), 2) << r.assignment;
    EXPECT_EQ(output.err, "Argument 2: " + r.err + "\n");
    EXPECT_EQ(w.registry.WriteCount(), 0);
  }
  // The second argument is counted as the second.
  EXPECT_EQ(Exec({"set", "promptPDF=1", "defaultPDFFile=*"}), 2);
  EXPECT_EQ(output.err.substr(0, 27), "Argument 3: defaultPDFFile ");

  // What any of them may hold; a double-byte character's second byte is
  // no backslash, and 259 characters are not too long.
  w.files.codePage = 932;
  const std::string kanji = "\x95\x5c";  // its second byte reads as '\'
  for (const std::string& usable :
       {"defaultPDFFile=" + std::string(255, 'f') + ".pdf", "defaultPDFFile=" + kanji + ".pdf",
        std::string("defaultPDFAppend="), std::string("defaultPDFAppend=Copy (2)"),
        std::string("defaultPDFDir=C:\\"), std::string("defaultPDFDir=d:\\PDFs\\Ann"),
        std::string("defaultPDFDir=\\\\srv\\share"), "defaultPDFDir=\\\\srv\\" + kanji,
        std::string("GS_DLL=")}) {
    EXPECT_EQ(Exec({"set", usable}), 0) << usable << output.err;
  }
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// A printer installed as printui installs it: its key with the package's
// model, on LPT1:.
void AddModelPrinter(FakeWorld& w, const std::string& name, const std::string& port,
                     const std::string& driver = L::kPrinterModel) {
  if (w.registry.HasKey(L::kPrintersKeyPrefix + name)) return;
  w.printerBackend.names.push_back(name);
  w.registry.PutString(L::kPrintersKeyPrefix + name, L::kPort, port);
  w.registry.PutString(L::kPrintersKeyPrefix + name, L::kPrinterDriver, driver);
}

// printui, run to install "Lab", makes it as it does.
void MakesPrinter(Machine& m) {
  FakeWorld& w = m.w;
  w.processes.waitSlices = 1;
  w.processes.onWait = [&w] {
    if (w.processes.starts.size() == 1) AddModelPrinter(w, "Lab", "LPT1:");
  };
}

// Each change command on a machine already as wanted, on one that differs
// and on one that cannot be read; run plainly, with --check and with
// --json. The check changes nothing and predicts exactly the changes the
// command then makes.
TEST(ConvergeTable, EachCommandChangesOnlyWhatDiffersAndItsCheckPredictsIt) {
  struct Row {
    const char* what;
    std::function<void(Machine&)> setUp;
    std::vector<std::string> args;
    int exit;         // plain; --check gives 3 for 0 when something would change
    bool changes;     // something differs
    std::string out;  // plain, whole; unchecked when empty
    std::string err;  // plain, whole
  };
  const auto portFixed = [](Machine& m) { ASSERT_EQ(m.Exec({"fix-port"}), 0); };
  const Row rows[] = {
      {"set as wanted",
       [](Machine& m) { m.w.registry.PutDword(L::kSettingsKey, "promptPDF", 1); },
       {"set", "promptPDF=1"},
       0,
       false,
       "Changes have been saved.\n",
       ""},
      {"set differs",
       [](Machine& m) {
         m.w.registry.PutDword(L::kSettingsKey, "promptPDF", 1);
         m.w.registry.PutString(L::kSettingsKey, "defaultPDFFile", "a.pdf");
       },
       {"set", "promptPDF=1", "defaultPDFFile=b.pdf"},
       0,
       true,
       "Changes have been saved.\n",
       ""},
      {"set a text as wanted",
       [](Machine& m) { m.w.registry.PutString(L::kSettingsKey, "defaultPDFFile", "a.pdf"); },
       {"set", "defaultPDFFile=a.pdf"},
       0,
       false,
       "Changes have been saved.\n",
       ""},
      {"set a text of another type",
       [](Machine& m) {
         m.w.registry.PutRaw(L::kSettingsKey, "defaultPDFFile", kRegExpandSz,
                             {'a', '.', 'p', 'd', 'f', 0});
       },
       {"set", "defaultPDFFile=a.pdf"},
       0,
       true,
       "Changes have been saved.\n",
       ""},
      {"set of another type",
       [](Machine& m) { m.w.registry.PutString(L::kSettingsKey, "promptPDF", "1"); },
       {"set", "promptPDF=1"},
       0,
       true,
       "",
       ""},
      {"set unreadable",
       [](Machine& m) {
         m.w.registry.PutDword(L::kSettingsKey, "promptPDF", 0);
         m.w.registry.FailValue("promptPDF");
       },
       {"set", "promptPDF=1"},
       1,
       false,
       "",
       "Failed to get data for 'promptPDF'\n"},
      {"fix-port --if-needed as wanted",
       portFixed,
       {"fix-port", "--if-needed"},
       0,
       false,
       "The PDF port needed no repair.\n",
       ""},
      {"fix-port as wanted",
       portFixed,
       {"fix-port"},
       0,
       false,
       std::string(kPortRestoredText) + "\nNo value's content changed: it was as written.\n",
       ""},
      {"fix-port differs",
       [](Machine&) {},
       {"fix-port"},
       0,
       true,
       std::string(kPortRestoredText) + "\n",
       ""},
      {"fix-port --if-needed differs",
       [](Machine& m) {
         ASSERT_EQ(m.Exec({"fix-port"}), 0);
         m.w.registry.PutDword(L::kPdfPortKey, "Delay", 1);
       },
       {"fix-port", "--if-needed"},
       0,
       true,
       std::string(kPortRestoredText) + "\n",
       ""},
      {"fix-port outside the package",
       [](Machine& m) { m.w.files.files.clear(); },
       {"fix-port", "--if-needed"},
       1,
       false,
       "",
       "qvpdfrun.exe is not in C:\\Pkg. Run QuorvinConfigCmd.exe from the folder the package is "
       "installed in.\n"},
      {"attach as wanted",
       [](Machine& m) { AddModelPrinter(m.w, "Office", L::kPdfPortName); },
       {"attach", "office"},
       0,
       false,
       "The printer \"Office\" already feeds the PDF port; nothing was changed.\n",
       ""},
      {"attach differs",
       [](Machine& m) {
         AddModelPrinter(m.w, "Office", "LPT1:");
         m.w.spooler.dependents.push_back({{"Fax", "Fax Service"}});
       },
       {"attach", "Office"},
       0,
       true,
       std::string(kAttachedText) + "\n",
       ""},
      {"attach with the restart pending",
       [](Machine& m) {
         AddModelPrinter(m.w, "Office", L::kPdfPortName);
         m.w.spooler.printerUnknownFor = 1;
       },
       {"attach", "Office"},
       0,
       true,
       std::string(kAttachedText) + "\n",
       ""},
      {"attach unreadable",
       [](Machine& m) { m.w.printerBackend.failure = fakes::kSpoolerStopped; },
       {"attach", "Office"},
       1,
       false,
       "",
       "System Error.  Code: 1722.\nThe RPC server is unavailable.\n"},
      {"install as wanted",
       [](Machine& m) { AddModelPrinter(m.w, "Lab", L::kPdfPortName); },
       {"install", "Lab"},
       0,
       false,
       AlreadyInstalledText("Lab") + "\n",
       ""},
      {"install as wanted but not the default",
       [](Machine& m) { AddModelPrinter(m.w, "Lab", L::kPdfPortName); },
       {"install", "Lab", "--default"},
       0,
       true,
       AlreadyInstalledText("Lab") + "\n",
       ""},
      {"install as wanted and the default",
       [](Machine& m) {
         AddModelPrinter(m.w, "Lab", L::kPdfPortName);
         m.w.spooler.defaultPrinter = "Lab";
       },
       {"install", "Lab", "--default"},
       0,
       false,
       AlreadyInstalledText("Lab") + "\n",
       ""},
      {"install detached",
       [](Machine& m) { AddModelPrinter(m.w, "Lab", "LPT1:"); },
       {"install", "Lab"},
       0,
       true,
       std::string(kAttachedText) + "\n",
       ""},
      {"install missing",
       MakesPrinter,
       {"install", "Lab", "--default"},
       0,
       true,
       std::string(kInstalledText) + "\n",
       ""},
      {"install of another model",
       [](Machine& m) { AddModelPrinter(m.w, "Lab", "LPT1:", "Other PS"); },
       {"install", "Lab"},
       1,
       false,
       "",
       AsConsoleLines(NameTakenText("Lab"))},
      {"install whose model the spooler cannot tell",
       [](Machine& m) { AddModelPrinter(m.w, "Lab", L::kPdfPortName, ""); },
       {"install", "Lab"},
       1,
       false,
       "",
       AsConsoleLines(NameTakenText("Lab"))},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Machine plain, check, json, checkJson;
    for (Machine* m : {&plain, &check, &json, &checkJson}) row.setUp(*m);
    const int writes = check.w.registry.WriteCount();
    const std::size_t checkEvents = check.w.events.events.size();
    const std::size_t starts = check.w.processes.starts.size();

    const int before = plain.w.registry.WriteCount();
    const std::size_t eventsBefore = plain.w.events.events.size();
    EXPECT_EQ(plain.Exec(row.args), row.exit);
    // Nothing differs, nothing written; but fix-port always writes.
    if (!row.changes && row.args[0] != std::string("fix-port")) {
      EXPECT_EQ(plain.w.registry.WriteCount(), before);
    }
    if (!row.out.empty()) {
      EXPECT_EQ(plain.output.out, row.out);
    }
    // One event for a command that changed something, none otherwise; an
    // attach names the printer with its port before and after first.
    const std::vector<fakes::FakeEventLog::Event> events(
        plain.w.events.events.begin() + static_cast<std::ptrdiff_t>(eventsBefore),
        plain.w.events.events.end());
    ASSERT_EQ(events.size(), row.changes ? 1u : 0u);
    if (row.changes && row.what == std::string("attach differs")) {
      EXPECT_EQ(events[0].id, kEventAttach);
      EXPECT_EQ(events[0].level, row.exit == 0 ? EventLevel::Information : EventLevel::Error);
      EXPECT_EQ(
          events[0].text.rfind("Printer \"Office\": port \"LPT1:\" -> \"QuorvinPDF:\"\r\n", 0), 0u)
          << events[0].text;
    }
    if (row.exit != 0) {
      EXPECT_EQ(plain.output.err.empty(), row.err.empty());
    }
    if (!row.err.empty()) {
      EXPECT_EQ(plain.output.err, row.err);
    }

    std::vector<std::string> args = row.args;
    args.push_back("--check");
    const int predicted = row.exit != 0 ? row.exit : row.changes ? 3 : 0;
    EXPECT_EQ(check.Exec(args), predicted);
    EXPECT_EQ(check.output.err, plain.output.err);
    if (predicted == 0) {
      EXPECT_EQ(check.output.out, "Nothing would change.\n");
    }
    if (predicted == 3) {
      EXPECT_EQ(check.output.out.rfind("Would ", 0), 0u) << check.output.out;
    }
    EXPECT_EQ(check.w.registry.WriteCount(), writes);
    // Nothing written, started or asked of a service.
    EXPECT_EQ(check.w.processes.starts.size(), starts);
    EXPECT_TRUE(check.w.spooler.requests.empty());
    EXPECT_EQ(check.w.registry.OpenHandleCount(), 0);
    EXPECT_EQ(check.w.events.events.size(), checkEvents);

    args.push_back("--json");
    EXPECT_EQ(checkJson.Exec(args), predicted);
    EXPECT_EQ(checkJson.output.err, "");
    EXPECT_NE(checkJson.output.out.find("\"changed\": false"), std::string::npos);
    EXPECT_NE(checkJson.output.out.find("\"exit\": " + std::to_string(predicted) + "\n}"),
              std::string::npos);

    args = row.args;
    args.push_back("--json");
    EXPECT_EQ(json.Exec(args), row.exit);
    EXPECT_EQ(json.output.err, "");
    EXPECT_NE(json.output.out.find(std::string("\"changed\": ") + (row.changes ? "true" : "false")),
              std::string::npos)
        << json.output.out;
    // Each program the command ran is told as one.
    if (json.output.out.find("\"parameters\"") != std::string::npos) {
      EXPECT_NE(json.output.out.find("\"kind\": \"program\",\n      \"file\""), std::string::npos);
    }
    // What the check predicted is what the command did.
    EXPECT_EQ(ChangesOf(checkJson.output.out), ChangesOf(json.output.out));
  }
}

TEST_F(Converge, ACheckNeedsNoRightsAndTellsEachChangeItWouldMake) {
  w.registry.PutString(L::kSettingsKey, "defaultPDFFile", "caf\xe9.pdf");
  w.registry.SetAllReadOnly(true);
  EXPECT_EQ(Exec({"set", "defaultPDFFile=b.pdf", "promptPDF=1", "--check"}), 3);
  EXPECT_EQ(
      output.out,
      "Would set HKEY_LOCAL_MACHINE\\SOFTWARE\\Hollisfield\\Quorvin PDF\\1.01\\defaultPDFFile "
      "(32-bit view): now \"caf\xc3\xa9.pdf\", after \"b.pdf\".\n"
      "Would set HKEY_LOCAL_MACHINE\\SOFTWARE\\Hollisfield\\Quorvin PDF\\1.01\\promptPDF "
      "(32-bit view): now missing, after 1.\n");
  EXPECT_EQ(Exec({"set", "promptPDF=1", "--check", "--json"}), 3);
  EXPECT_EQ(
      output.out,
      "{\n"
      "  \"changed\": false,\n"
      "  \"changes\": [\n"
      "    {\n"
      "      \"kind\": \"value\",\n"
      "      \"key\": \"HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Hollisfield\\\\Quorvin PDF\\\\1.01\",\n"
      "      \"name\": \"promptPDF\",\n"
      "      \"view\": \"32-bit\",\n"
      "      \"before\": null,\n"
      "      \"after\": 1\n"
      "    }\n"
      "  ],\n"
      "  \"notices\": [],\n"
      "  \"errors\": [],\n"
      "  \"exit\": 3\n"
      "}\n");
  // Without rights, the command itself is refused, in the object too.
  EXPECT_EQ(Exec({"set", "promptPDF=1", "--json"}), 1);
  EXPECT_EQ(output.err, "");
  EXPECT_NE(output.out.find("\"errors\": [\n    \"Failed to set data for 'promptPDF'\"\n  ],\n  "
                            "\"exit\": 1\n}\n"),
            std::string::npos)
      << output.out;
  EXPECT_EQ(Exec({"fix-port", "--check"}), 3);
  EXPECT_EQ(w.registry.WriteCount(), 0);
  // Outside the package's folder: the refusal in the object, none on stderr.
  w.files.files.clear();
  EXPECT_EQ(Exec({"fix-port", "--json"}), 1);
  EXPECT_EQ(output.err, "");
  EXPECT_NE(output.out.find("\"errors\": [\n    \"qvpdfrun.exe is not in "), std::string::npos)
      << output.out;
}

// The held-back platform on its own: keys open read-only, a write goes to
// an overlay that later reads see, a program or a service request counts
// as done at once, and every change is recorded as the real one would be.
TEST(HeldBack, LaterReadsSeeTheOverlayAndTheMachineIsLeftAlone) {
  FakeWorld w;
  w.registry.PutString("SOFTWARE\\A\\Old", "x", "1");
  w.spooler.dependents.push_back({{"Fax", "Fax Service"}});
  const int writes = w.registry.WriteCount();
  ChangePlatform held(w.platform, true, L::kPrintersKeyPrefix);
  Platform& p = held.platform();
  {
    Registry reg(p.registry);
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\A\\New\\Deep", true));
    reg.WriteString("name", "text");
    EXPECT_EQ(reg.ReadString("name"), "text");
    EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\a\\NEW"));
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\A", false));
    std::vector<std::string> names;
    reg.GetKeyNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Old", "New"}));
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\A\\Old", false));
    reg.WriteInteger("x", 5);
    EXPECT_EQ(reg.ReadInteger("x"), 5);
    reg.WriteString("same", "");
    EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\Missing", false));
  }
  ProcessHandle process = 1;
  std::uint32_t error = 0;
  ASSERT_TRUE(p.processes.StartHidden("C:\\Windows\\system32\\NET.exe", "stop Spooler", &process,
                                      &error, [] {}));
  EXPECT_EQ(process, 0u);
  EXPECT_EQ(p.spooler.State(kSpoolerService), ServiceState::Stopped);
  EXPECT_TRUE(p.spooler.Stop("Fax"));
  EXPECT_TRUE(p.spooler.RunningDependents().empty());
  EXPECT_EQ(p.spooler.PrinterPort("Lab"), std::nullopt);  // not restarted yet: the machine's
  w.registry.PutString(L::kPrintersKeyPrefix + std::string("Lab"), L::kPort, "LPT1:");
  ASSERT_TRUE(p.processes.StartHidden("C:\\Windows\\system32\\net.exe", "START SPOOLER", &process,
                                      &error, [] {}));
  EXPECT_EQ(p.spooler.State(kSpoolerService), ServiceState::Running);
  EXPECT_EQ(p.spooler.PrinterPort("Lab"), "LPT1:");  // restarted: the registry's

  // The machine is as it was.
  EXPECT_FALSE(w.registry.HasKey("SOFTWARE\\A\\New"));
  EXPECT_EQ(w.registry.GetString("SOFTWARE\\A\\Old", "x"), "1");
  EXPECT_EQ(w.registry.WriteCount(), writes);
  EXPECT_EQ(w.registry.OpenHandleCount(), 0);
  EXPECT_TRUE(w.processes.starts.empty());
  EXPECT_TRUE(w.spooler.requests.empty());

  const std::vector<Change>& changes = held.record().changes;
  ASSERT_EQ(changes.size(), 6u);
  EXPECT_EQ(changes[0].key, "HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\New\\Deep");
  EXPECT_EQ(changes[0].before, std::nullopt);
  EXPECT_EQ(changes[1].valueName, "x");
  EXPECT_EQ(changes[1].before->type, kRegSz);
  EXPECT_EQ(changes[1].after->type, kRegDword);
  EXPECT_EQ(changes[2].valueName, "same");  // missing before: a change
  EXPECT_EQ(changes[3].ended, ProgramEnd::HeldBack);
  EXPECT_EQ(changes[4].service, "Fax");
  EXPECT_EQ(changes[4].kind, ChangeKind::Service);
  EXPECT_EQ(changes[5].parameters, "START SPOOLER");
  EXPECT_FALSE(held.record().Changed());
}

TEST(Recording, EachChangeMadeAndHowEachProgramEnded) {
  FakeWorld w;
  w.registry.PutString("SOFTWARE\\A", "same", "1");
  ChangePlatform made(w.platform, false, L::kPrintersKeyPrefix);
  Platform& p = made.platform();
  {
    Registry reg(p.registry);
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\A", false));
    reg.WriteString("same", "1");  // as it was: no change
  }
  EXPECT_TRUE(made.record().changes.empty());
  EXPECT_FALSE(made.record().Changed());
  w.processes.waitSlices = 2;
  ProcessHandle first = 0, second = 0;
  std::uint32_t error = 0;
  ASSERT_TRUE(p.processes.StartHidden("a.exe", "1", &first, &error, [] {}));
  ASSERT_TRUE(p.processes.StartHidden("b.exe", "2", &second, &error, [] {}));
  while (p.processes.WaitOrMessage(first, 50) != WaitResult::Ended) {
  }
  p.processes.CloseProcess(first);
  p.processes.CloseProcess(second);  // given up
  w.processes.missingPrograms.insert("c.exe");
  EXPECT_FALSE(p.processes.StartHidden("c.exe", "", &first, &error, [] {}));
  EXPECT_FALSE(p.spooler.Stop("Fax"));  // no such service: refused, nothing happened
  const std::vector<Change>& changes = made.record().changes;
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].ended, ProgramEnd::Ended);
  EXPECT_EQ(changes[1].ended, ProgramEnd::StillRunning);
  EXPECT_TRUE(made.record().Changed());
}

TEST(ChangeLines, EachKindOfChangeInOneLine) {
  fakes::FakeOutput out;
  Change value;
  value.key = "HKEY_LOCAL_MACHINE\\K";
  value.valueName = "V";
  value.view = "32-bit";
  value.before = RegistryContent{kRegBinary, {0x01, 0xab}};
  value.after = RegistryContent{kRegExpandSz, {'%', 'a', '%', 0, 'x'}};
  EXPECT_EQ(ChangeLine(value, out),
            "Would set HKEY_LOCAL_MACHINE\\K\\V (32-bit view): now hex:01,ab, after \"%a%\".");
  value.before = RegistryContent{kRegDword, {0x2c, 0x01, 0, 0}};
  value.after = RegistryContent{kRegBinary, {}};
  EXPECT_EQ(ChangeLine(value, out),
            "Would set HKEY_LOCAL_MACHINE\\K\\V (32-bit view): now 300, after hex:.");
  Change service;
  service.kind = ChangeKind::Service;
  service.service = "Fax";
  EXPECT_EQ(ChangeLine(service, out), "Would stop the service Fax.");
  service.action = ServiceAction::Started;
  EXPECT_EQ(ChangeLine(service, out), "Would start the service Fax.");
  Change program;
  program.kind = ChangeKind::Program;
  program.file = "C:\\net.exe";
  program.parameters = "STOP SPOOLER";
  EXPECT_EQ(ChangeLine(program, out), "Would run \"C:\\net.exe\" STOP SPOOLER.");
  // As the events of both programs tell each change made; a DWORD counts
  // its first four bytes only.
  const ToUtf8Function same = [](const std::string& text) { return text; };
  value.before = RegistryContent{kRegDword, {0x01, 0, 0, 0, 0x05}};
  value.after.reset();
  EXPECT_EQ(MadeChangeLine(value, same), "HKEY_LOCAL_MACHINE\\K\\V (32-bit view): 1 -> removed");
  program.ended = ProgramEnd::StillRunning;
  EXPECT_EQ(MadeChangeLine(program, same), "Ran \"C:\\net.exe\" STOP SPOOLER: still running.");
  service.action = ServiceAction::Stopped;
  EXPECT_EQ(MadeChangeLine(service, same), "Stopped the service Fax.");
  service.action = ServiceAction::Started;
  EXPECT_EQ(MadeChangeLine(service, same), "Started the service Fax.");
}

}  // namespace
}  // namespace qv
