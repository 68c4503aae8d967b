// The console program on the in-memory platform: its command line, its
// JSON, and what each command writes, prints and exits with.
#include "console/console.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "config/registry_layout.h"
#include "console/arguments.h"
#include "console/commands.h"
#include "console/json.h"
#include "printing/spooler_restart.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

using fakes::FakeSpooler;
using fakes::FakeWorld;
namespace L = layout;

// Records what the program prints; the system code page is Latin-1 here.
class ConsoleWorld : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& args) {
    output.out.clear();
    output.err.clear();
    return RunConsole(args, services);
  }
  // Whether standard output holds this part; the whole output when not.
  ::testing::AssertionResult Printed(const std::string& part) const {
    if (output.out.find(part) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no " << ::testing::PrintToString(part) << " in\n"
                                         << output.out;
  }
  // The codes of the problems that status --json printed, each with a
  // space after it.
  std::string Codes() const {
    std::string codes;
    const nlohmann::json status = nlohmann::json::parse(output.out);
    for (const auto& problem : status.at("problems")) {
      codes += problem.at("code").get<std::string>() + " ";
    }
    return codes;
  }
  // A machine the tool has set up: Ghostscript found, the port registered.
  void SetUpHealthy() {
    w.registry.PutString(L::kSettingsKey, "GS_DLL", "C:\\gs\\gsdll32.dll");
    w.registry.PutString(L::kSettingsKey, "GSWIN32C", "C:\\gs\\gswin32c.exe");
    w.files.files = {"C:\\gs\\gsdll32.dll", "C:\\gs\\gswin32c.exe", kMonitorFile};
    w.files.files.insert(kPackageFiles.begin(), kPackageFiles.end());
    w.files.contents = {{"C:\\gs\\gsdll32.dll", fakes::PeImage(kMachineX86)},
                        {kMonitorFile, fakes::PeImage(kMachineAmd64)}};
    ASSERT_EQ(Run({"fix-port"}), 0);
  }
  // In the spooler's own folder; what a 32-bit build sees as System32 is
  // another one on 64-bit Windows.
  const std::string kMonitorFile = "C:\\Windows\\Sysnative\\quorvinmonnt.dll";
  const std::string kMonitor32 = "C:\\Windows\\system32\\quorvinmonnt.dll";
  // The package's other programs beside the tool.
  const std::vector<std::string> kPackageFiles = {"C:\\Pkg\\qvpdfrun.exe",
                                                  "C:\\Pkg\\QVPDFDistiller.exe"};
  FakeWorld w;
  fakes::FakeOutput output;
  fakes::FakeSpooler& spooler = w.spooler;
  ConsoleServices services{w.platform, output};
  ConsoleWorld() { w.files.files.insert(kPackageFiles.begin(), kPackageFiles.end()); }
};

TEST(ConsoleArguments, CommandsOptionsAndMalformedLines) {
  struct Case {
    std::vector<std::string> args;
    bool ok;
    const char* command;  // the row it runs, by its name
  };
  const Case cases[] = {
      {{"--help"}, true, "--help"},
      {{"-h"}, true, "--help"},
      {{"/?"}, true, "--help"},
      {{"status", "--json"}, true, "status"},
      {{"fix-port"}, true, "fix-port"},
      {{"attach", "Office PS"}, true, "attach"},
      {{"attach", "-"}, true, "attach"},  // a printer may be named so
      {{"install", "--default", "Lab"}, true, "install"},
      {{"set", "promptPDF=1", "defaultPDFDir="}, true, "set"},
      {{"export", "C:\\x.reg"}, true, "export"},
      {{}, false, nullptr},
      {{"repair"}, false, nullptr},
      {{"status", "--default"}, false, nullptr},
      {{"status", "now"}, false, nullptr},
      {{"fix-port", "now"}, false, nullptr},
      {{"attach"}, false, nullptr},
      {{"install", "A", "B"}, false, nullptr},
      {{"export", "a.reg", "b.reg"}, false, nullptr},
      {{"set", "promptPDF"}, false, nullptr},
      {{"--help", "status"}, false, nullptr},
      {{"fix-port", "--if-needed"}, true, "fix-port"},
      {{"attach", "P", "--timeout", "86400"}, true, "attach"},
      {{"install", "--timeout", "1", "Lab"}, true, "install"},
      {{"attach", "P", "--timeout"}, false, nullptr},
      {{"attach", "P", "--timeout", "0"}, false, nullptr},
      {{"attach", "P", "--timeout", "86401"}, false, nullptr},
      {{"install", "Lab", "--timeout", "2.5"}, false, nullptr},
      {{"install", "Lab", "--timeout", "-3"}, false, nullptr},
      {{"status", "--timeout", "5"}, false, nullptr},
  };
  for (const Case& c : cases) {
    ConsoleArguments parsed;
    std::string error;
    EXPECT_EQ(ParseArguments(c.args, &parsed, &error), c.ok) << ::testing::PrintToString(c.args);
    EXPECT_EQ(error.empty(), c.ok);
    if (c.ok) {
      ASSERT_NE(parsed.command, nullptr);
      EXPECT_STREQ(parsed.command->name, c.command);
    }
  }
  ConsoleArguments parsed;
  std::string error;
  ASSERT_TRUE(ParseArguments({"install", "--default", "Lab"}, &parsed, &error));
  EXPECT_TRUE(parsed.makeDefault);
  EXPECT_EQ(parsed.operands, std::vector<std::string>{"Lab"});
  EXPECT_EQ(parsed.timeoutSeconds, 300u);
  ASSERT_TRUE(ParseArguments({"attach", "P", "--timeout", "0042"}, &parsed, &error));
  EXPECT_EQ(parsed.timeoutSeconds, 42u);
  EXPECT_EQ(parsed.operands, std::vector<std::string>{"P"});
}

TEST(Json, NestsIndentsAndEscapes) {
  JsonWriter json;
  json.BeginObject().Key("ok").Bool(true).Key("n").Number(-300).Key("none").Null();
  json.Key("list").BeginArray().String("a").BeginObject().EndObject().EndArray();
  json.Key("empty").BeginArray().EndArray().EndObject();
  EXPECT_EQ(json.Text(),
            "{\n  \"ok\": true,\n  \"n\": -300,\n  \"none\": null,\n  \"list\": [\n    \"a\",\n"
            "    {}\n  ],\n  \"empty\": []\n}\n");
  EXPECT_EQ(JsonQuoted("C:\\a \"b\"\r\n\t\x01 \xc3\xa9"),
            "\"C:\\\\a \\\"b\\\"\\r\\n\\t\\u0001 \\u00e9\"");
  // ASCII out, whatever comes in; each invalid part of UTF-8 is one U+FFFD:
  // a stray byte, overlong, a surrogate, above U+10FFFF, cut short.
  for (const auto& [text, escaped] : std::vector<std::pair<std::string, std::string>>{
           {"\xe2\x82\xac\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf", "\\u20ac\\ud83d\\ude00\\udbff\\udfff"},
           {"\xff\xc0\xaf\xe0\x80", "\\ufffd\\ufffd\\ufffd\\ufffd\\ufffd"},
           {"\xed\xa0\xf4\x90-\xf0\x9f\x98", "\\ufffd\\ufffd\\ufffd\\ufffd-\\ufffd"}}) {
    EXPECT_EQ(JsonQuoted(text), "\"" + escaped + "\"") << escaped;
  }
  // What a reader gets back: every character below U+0080, the controls and
  // NUL included, those beyond, and U+FFFD for each invalid part.
  std::string every(1, '\0');
  for (int c = 1; c < 0x80; ++c) every += static_cast<char>(c);
  every += "\xc3\xa9\xef\xbf\xbf\xf0\x90\x80\x80\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf";
  EXPECT_EQ(nlohmann::json::parse(JsonQuoted(every)), every);
  EXPECT_EQ(nlohmann::json::parse(JsonQuoted("\xff-\xe0\x80")), "\uFFFD-\uFFFD\uFFFD");
  JsonWriter keys;
  keys.BeginObject().Key(every).Number(1).Key("\"\n").BeginArray().Null().EndArray().EndObject();
  EXPECT_EQ(nlohmann::json::parse(keys.Text()),
            nlohmann::json({{every, 1}, {"\"\n", nlohmann::json::array({nullptr})}}));
}

TEST_F(ConsoleWorld, UsageGoesToStandardErrorForAMalformedLineOnly) {
  // The usage is made from the rows of the commands; this is its text.
  const std::string usage =
      "Usage: QuorvinConfigCmd <command> [options]\n"
      "\n"
      "Commands:\n"
      "  status [--json]         Report Ghostscript, the PDF port, the printers and the\n"
      "                          options; exit 0 when healthy, 3 when something needs repair.\n"
      "  fix-port [--check] [--json] [--if-needed]\n"
      "                          Rewrite the port monitor and PDF port registration;\n"
      "                          --if-needed writes only when something there differs.\n"
      "  attach PRINTER [--check] [--json] [--timeout SECONDS]\n"
      "                          Send the installed printer PRINTER to the PDF port and\n"
      "                          restart the print spooler. PRINTER is its name as listed;\n"
      "                          the case of A to Z does not matter.\n"
      "  install NAME [--check] [--json] [--default] [--timeout SECONDS]\n"
      "                          Install a PostScript printer named NAME from the package's\n"
      "                          driver, attach it to the PDF port; --default makes it the\n"
      "                          default printer.\n"
      "                          --timeout (attach, install, detach): the longest wait for\n"
      "                          each program started, and for another restart of the print\n"
      "                          spooler, 1 to 86400 seconds (300 by default).\n"
      "  detach PRINTER [--check] [--json] [--port PORT] [--timeout SECONDS]\n"
      "                          Put the printer PRINTER back on the port it used before it\n"
      "                          was sent to the PDF port (or on PORT) and restart the print\n"
      "                          spooler.\n"
      "  set NAME=VALUE... [--check] [--json]\n"
      "                          Store options: defaultPDFFile, defaultPDFDir,\n"
      "                          defaultPDFAppend, promptPDF, finishMessage, launchPDFApp\n"
      "                          (0 or 1), GSWIN32C, GS_DLL.\n"
      "                          --check (fix-port, attach, install, detach, set): change\n"
      "                          nothing; list each change the command would make. --json:\n"
      "                          the result as one object on standard output.\n"
      "  export FILE             Write the settings, the port monitor and the PDF port as a\n"
      "                          .reg file for \"reg import FILE /reg:32\" on another machine.\n"
      "  --help                  Show this text.\n"
      "\n"
      "Exit codes: 0 done, 1 the machine refused or the change did not take effect (see\n"
      "the message), 2 malformed command line, 3 (status) something needs repair,\n"
      "(--check) something would change.\n";
  EXPECT_EQ(Run({"status", "--verbose"}), 2);
  EXPECT_TRUE(output.out.empty());
  EXPECT_EQ(output.err, "Unknown option \"--verbose\" for \"status\".\n\n" + usage);
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_EQ(output.out, usage);
  // Each reason, then the usage; a wrong --timeout is told without it.
  const std::pair<std::vector<std::string>, std::string> malformed[] = {
      {{}, "No command given.\n\n" + usage},
      {{"repair"}, "Unknown command \"repair\".\n\n" + usage},
      {{"attach"}, "\"attach\" needs an argument.\n\n" + usage},
      {{"install", "A", "B"}, "Too many arguments for \"install\".\n\n" + usage},
      {{"set", "promptPDF=1", "promptPDF"}, "\"promptPDF\" is not NAME=VALUE.\n\n" + usage},
      {{"attach", "P", "--timeout", "0"},
       "--timeout needs a whole number of seconds from 1 to 86400.\n"},
  };
  for (const auto& [args, err] : malformed) {
    EXPECT_EQ(Run(args), 2);
    EXPECT_EQ(output.err, err);
  }

  // An argument the code page could not hold is refused before anything.
  output.err.clear();
  EXPECT_EQ(RunConsole(std::vector<ConsoleArgument>{{"set"}, {"defaultPDFAppend=?mega", false}},
                       services),
            2);
  EXPECT_EQ(output.err,
            "Argument 2 holds characters that this system's code page cannot represent.\n");
  EXPECT_EQ(w.registry.WriteCount(), 0);
}

TEST_F(ConsoleWorld, AttachMatchesPrinterNamesAsWindowsDoes) {
  // Windows lists no two names equal but for case; should it, neither is
  // guessed.
  for (const char* name : {"Office PS", "\xc9tude", "\x83\x41", "?-Printer", "OFFICE ps"})
    AddPrinter(w, name, "LPT1:");
  w.printerBackend.inexact["?-Printer"] = "\xce\xa9-Printer";
  const struct {
    const char* typed;
    unsigned codePage;
    int code;
    const char* attached;  // the key whose Port now names the PDF port
  } cases[] = {
      {"Office PS", 1252, 0, "Office PS"}, {"OFFICE ps", 1252, 0, "OFFICE ps"},
      {"office ps", 1252, 1, nullptr},     {"\xe9tude", 1252, 1, nullptr},  // only A to Z fold
      {"\x83\x61", 1252, 0, "\x83\x41"},   {"\x83\x61", 932, 1, nullptr},   // one character
      {"Offic", 1252, 1, nullptr},         {"?-Printer", 1252, 1, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    w.files.codePage = c.codePage;
    const int writes = w.registry.WriteCount();
    EXPECT_EQ(Run({"attach", c.typed}), c.code);
    if (c.attached != nullptr) {
      const std::string key = L::kPrintersKeyPrefix + std::string(c.attached);
      EXPECT_EQ(w.registry.GetString(key, "Port"), "QuorvinPDF:");
      EXPECT_EQ(w.registry.GetString(L::kPreviousPortsKey, c.attached), "LPT1:");
      EXPECT_EQ(w.registry.WriteCount(), writes + 2);  // the port it had, then Port
      w.registry.PutString(key, "Port", "LPT1:");
    } else {
      EXPECT_EQ(w.registry.WriteCount(), writes);
    }
  }
  EXPECT_EQ(output.err,
            "The name of this printer holds characters that this system's code page cannot "
            "represent, so this tool cannot send it to the PDF port.\nRename the printer, then "
            "press Query New Printers.\n");
}

TEST_F(ConsoleWorld, StatusReadsWithoutWritingAndTellsWhatNeedsRepair) {
  w.printerBackend.names = {"Office PS", "Pdf", "?-Pdf"};
  w.printerBackend.inexact["?-Pdf"] = "\xce\xa9-Pdf";
  for (const char* name : {"Pdf", "?-Pdf"}) {
    w.registry.PutString(L::kPrintersKeyPrefix + std::string(name), "Port", "QuorvinPDF:");
  }
  EXPECT_EQ(Run({"status"}), 3);  // nothing set up yet
  EXPECT_EQ(w.registry.WriteCount(), 0);
  EXPECT_FALSE(w.registry.HasKey(L::kSettingsKey));
  EXPECT_FALSE(w.registry.HasKey(L::kMonitorKey));

  SetUpHealthy();
  w.registry.PutString(L::kSettingsKey, "defaultPDFFile", "caf\xe9.pdf");
  w.registry.PutDword(L::kSettingsKey, "promptPDF", 7);
  w.registry.SetAllReadOnly(true);  // no administrator rights
  EXPECT_EQ(Run({"status", "--json"}), 0) << output.err;
  EXPECT_EQ(output.out.find("\"healthy\": true"), 4u);
  for (const char* part :
       {"\"differs\": []",
        "\"name\": \"Pdf\",\n      \"monitored\": true,\n      "
        "\"previous_port\": null,\n      \"addressable\": true",
        "\"name\": \"\\u03a9-Pdf\",\n      \"monitored\": false,\n      "
        "\"previous_port\": null,\n      \"addressable\": false",
        "\"defaultPDFFile\": \"caf\\u00e9.pdf\"", "\"promptPDF\": 7", "\"launchPDFApp\": null",
        "\"GS_DLL_exists\": true,\n    \"GS_DLL_32bit\": true,",
        "\"differs\": [],\n    \"monitor_file\": "
        "\"C:\\\\Windows\\\\Sysnative\\\\quorvinmonnt.dll\",\n    "
        "\"monitor_file_ok\": true\n  },",
        "\"windows\": {\n    \"protected_print_mode\": false\n  },\n  \"problems\": []",
        "\"invalid\": []"}) {
    EXPECT_TRUE(Printed(part));
  }
  // A value of the wrong type is a problem of its own, never "not stored".
  w.registry.PutString(L::kSettingsKey, "promptPDF", "7");
  EXPECT_EQ(Run({"status", "--json"}), 3);
  EXPECT_TRUE(Printed("\"promptPDF\": null"));
  EXPECT_TRUE(Printed("  },\n  \"invalid\": [\n    \"promptPDF\"\n  ],\n  \"windows\": {"));
  w.registry.PutDword(L::kSettingsKey, "promptPDF", 7);

  w.registry.SetAllReadOnly(false);
  w.registry.PutDword(L::kPdfPortKey, "Delay", 1000);
  w.registry.PutString(L::kPdfPortKey, "Command", "X:\\other.exe");
  w.files.files.erase("C:\\gs\\gswin32c.exe");
  EXPECT_EQ(Run({"status"}), 3);
  EXPECT_TRUE(Printed("differ: Command Delay"));
  EXPECT_TRUE(Printed("gswin32c.exe  [missing]"));
  EXPECT_TRUE(Printed("  Pdf  [monitored]\n  \xce\xa9-Pdf  [not addressable]\n"));

  // Strings stored as numbers, a flag as bytes; a port value of the wrong
  // type stays a difference.
  w.registry.PutDword(L::kPrintersKeyPrefix + std::string("Pdf"), "Port", 1);
  w.registry.PutDword(L::kPdfPortKey, "Description", 1);
  w.registry.PutDword(L::kMonitorKey, "Driver", 1);
  w.registry.PutDword(L::kSettingsKey, "GS_DLL", 1);
  w.registry.PutRaw(L::kSettingsKey, "promptPDF", kRegBinary, {1, 0, 0, 0});
  const std::string controls = "a\r\nHealthy.\t\x01\x1f\x7f\\b\xe9\"";
  w.registry.PutString(L::kSettingsKey, "defaultPDFFile", controls);
  EXPECT_EQ(Run({"status"}), 3);
  for (const char* line : {"  GS_DLL    [wrong type]\n", "  Driver    [wrong type]\n",
                           "differ: Description Command Delay\n",
                           "  Pdf  [Port of the wrong type]\n", "  promptPDF = [wrong type]\n",
                           "  defaultPDFFile = a\\r\\nHealthy.\\t\\x01\\x1f\\x7f\\b\xc3\xa9\"\n"}) {
    EXPECT_TRUE(Printed(line));
  }
  EXPECT_EQ(Run({"status", "--json"}), 3);
  for (const char* part : {"\"GS_DLL\": \"\"", "\"driver\": \"\"", "\"promptPDF\": null",
                           "\"name\": \"Pdf\",\n      \"monitored\": false",
                           "\"invalid\": [\n    \"GS_DLL\",\n    \"promptPDF\",\n    \"Driver\",\n"
                           "    \"Port (Pdf)\"\n  ]"}) {
    EXPECT_TRUE(Printed(part));
  }
  EXPECT_EQ(nlohmann::json::parse(output.out)["options"]["defaultPDFFile"],
            fakes::Latin1ToUtf8(controls));

  w.printerBackend.failure = fakes::kSpoolerStopped;
  EXPECT_EQ(Run({"status"}), 1);
  EXPECT_EQ(output.err, "System Error.  Code: 1722.\nThe RPC server is unavailable.\n");
}

TEST_F(ConsoleWorld, AttachAndInstallAnswerEveryQuestionTheirHandlerAsks) {
  // An unanswered question would fail the command (exit 1, text on
  // standard error): exit 0 shows that each one was answered.
  const std::string office = L::kPrintersKeyPrefix + std::string("Office PS");
  AddPrinter(w, "Office PS", "LPT1:");
  EXPECT_EQ(Run({"attach", "Office PS"}), 0) << output.err;
  EXPECT_EQ(w.registry.GetString(office, "Port"), "QuorvinPDF:");

  for (const char* name : {"Lab", "Lab Default"}) {
    const std::string key = L::kPrintersKeyPrefix + std::string(name);
    const std::size_t before = w.processes.starts.size();
    w.processes.waitSlices = 1;
    w.processes.onWait = [&, key, before] {
      // The installer creates the queue while it runs, as printui does.
      if (w.processes.starts.size() == before + 1) w.registry.PutString(key, "Port", "LPT1:");
    };
    const bool makeDefault = std::string(name) == "Lab Default";
    spooler.defaultPrinter = name;  // printui made it the default
    EXPECT_EQ(Run(makeDefault ? std::vector<std::string>{"install", name, "--default"}
                              : std::vector<std::string>{"install", name}),
              0)
        << output.err;
    EXPECT_TRUE(output.err.empty());
    EXPECT_EQ(w.registry.GetString(key, "Port"), "QuorvinPDF:");
    // rundll32 installs, then (with --default) makes it the default; NET
    // stops and starts the spooler.
    EXPECT_EQ(w.processes.starts.size() - before, makeDefault ? 4u : 3u);
  }
}

// Every outcome of the spooler restart, with the services that depend on
// the spooler, as attach and install report it.
TEST_F(ConsoleWorld, AttachAndInstallSucceedOnlyWhenTheChangeIsInEffect) {
  const std::string net = "C:\\Windows\\system32\\net.exe";
  using Arrange = std::function<void(FakeSpooler&)>;
  const auto dependent = [](const char* name, bool stops, bool starts, std::uint64_t takesMs = 0,
                            std::optional<std::uint64_t> startTakesMs = std::nullopt) {
    FakeSpooler::Dependent d{{name, std::string(name) + " Service"}, stops, starts};
    d.takesMs = takesMs;
    d.startTakesMs = startTakesMs;
    return d;
  };
  const std::string notStopped =
      "The print spooler could not be stopped, so the change has not taken effect.\n";
  const std::string notStarted = "The print spooler could not be started again.\n";
  const std::string notReported =
      "The print spooler does not report \"Office PS\" on the PDF port, so the change has not "
      "taken effect.\n";
  const auto givenUp = [](const char* call, const char* left) {
    return "\"C:\\Windows\\system32\\net.exe " + std::string(call) +
           "\" did not finish within 2 seconds; it is still running.\n" + left;
  };
  const char* const noFile = "The system cannot find the file specified\n";
  struct Case {
    const char* command;         // "attach" or "install --default"
    Arrange arrange;             // the spooler and its dependents
    const char* defaultPrinter;  // what printui left as the default
    int program;  // the program started n-th waits for ever; -n: it cannot be started
    int exit;
    std::string err;       // standard error, whole
    std::size_t starts;    // programs started
    const char* requests;  // to the service manager, in order
    bool portWritten;
  };
  const Case cases[] = {
      {"attach", {}, "", 0, 0, "", 2, "", true},
      // A spooler that stays running, or stopping: NET START runs all the
      // same, the dependents start again, and the change has not taken
      // effect (whatever port the spooler reports).
      {"attach",
       [&](FakeSpooler& f) {
         f.afterStop = ServiceState::Running;
         f.reportedPort = "LPT1:";
         f.dependents = {dependent("Fax", true, true)};
       },
       "", 0, 1, notStopped, 2, "stop Fax,start Fax,", true},
      {"attach", [](FakeSpooler& f) { f.afterStop = ServiceState::Changing; }, "", 0, 1, notStopped,
       2, "", true},
      // Every wait at its limit, each counted from its own start: the two
      // dependents stopping and starting, the spooler stopping and
      // starting, and the printer reported at the port wait's last answer.
      {"attach",
       [&](FakeSpooler& f) {
         f.dependents = {dependent("Fax", true, true, kDependentWaitMs),
                         dependent("Vnd", true, true, kDependentWaitMs)};
         f.stoppingMs = kSpoolerWaitMs;
         f.startingMs = kSpoolerWaitMs;
         f.printerUnknownFor = kPrinterPortWaitMs / kRestartPollMs;
       },
       "", 0, 0, "", 2, "stop Fax,stop Vnd,start Vnd,start Fax,", true},
      // And each just past it.
      {"attach", [](FakeSpooler& f) { f.stoppingMs = kSpoolerWaitMs + 1; }, "", 0, 1, notStopped, 2,
       "", true},
      {"attach", [](FakeSpooler& f) { f.startingMs = kSpoolerWaitMs + 1; }, "", 0, 1, notStarted, 2,
       "", true},
      {"attach",
       [&](FakeSpooler& f) { f.dependents = {dependent("Fax", true, true, kDependentWaitMs + 1)}; },
       "", 0, 1, notStopped, 0, "stop Fax,", true},
      {"attach",
       [&](FakeSpooler& f) {
         f.dependents = {dependent("Fax", true, true, 0, kDependentWaitMs + 1)};
       },
       "", 0, 1,
       "The printer now feeds the PDF port, but the service \"Fax Service\" could not be started "
       "again after the print spooler restarted.\n",
       2, "stop Fax,start Fax,", true},
      // The spooler is believed, not the write: a printer it does not
      // report by then is not on the PDF port, even beside a dependent
      // left stopped.
      {"attach",
       [&](FakeSpooler& f) {
         f.printerUnknownFor = kPrinterPortWaitMs / kRestartPollMs + 1;
         f.dependents = {dependent("Fax", true, false)};
       },
       "", 0, 1, notReported, 2, "stop Fax,start Fax,", true},
      {"attach", [](FakeSpooler& f) { f.reportedPort = "LPT1:"; }, "", 0, 1, notReported, 2, "",
       true},
      // A spooler not running tells before a dependent left stopped.
      {"attach",
       [&](FakeSpooler& f) {
         f.afterStart = ServiceState::Stopped;
         f.dependents = {dependent("Fax", true, false)};
       },
       "", 0, 1, notStarted, 2, "stop Fax,start Fax,", true},
      // Dependents: stopped first, started again in the reverse order; the
      // first that does not start again is named.
      {"attach",
       [&](FakeSpooler& f) {
         f.dependents = {dependent("Fax", true, true), dependent("Vnd", true, true)};
       },
       "", 0, 0, "", 2, "stop Fax,stop Vnd,start Vnd,start Fax,", true},
      {"attach",
       [&](FakeSpooler& f) {
         f.dependents = {dependent("Fax", true, true), dependent("Vnd", false, true)};
       },
       "", 0, 1, notStopped, 0, "stop Fax,stop Vnd,start Fax,", true},
      {"attach",
       [&](FakeSpooler& f) {
         f.dependents = {dependent("Fax", true, false), dependent("Vnd", true, false)};
       },
       "", 0, 1,
       "The printer now feeds the PDF port, but the service \"Vnd Service\" could not be started "
       "again after the print spooler restarted.\n",
       2, "stop Fax,stop Vnd,start Vnd,start Fax,", true},
      // A program given up starts nothing more and names what it leaves
      // stopped; NET that cannot be started is told, and the rest goes on.
      {"attach", {}, "", 1, 1, givenUp("STOP SPOOLER", ""), 1, "", true},
      {"attach",
       [&](FakeSpooler& f) {
         f.dependents = {dependent("Fax", true, true), dependent("Vnd", true, true)};
       },
       "", 1, 1,
       givenUp("STOP SPOOLER",
               "These services were stopped and have not been started again: Fax Service, Vnd "
               "Service.\n"),
       1, "stop Fax,stop Vnd,", true},
      {"attach", [&](FakeSpooler& f) { f.dependents = {dependent("Fax", true, true)}; }, "", 2, 1,
       givenUp("START SPOOLER",
               "These services were stopped and have not been started again: Fax Service.\n"),
       2, "stop Fax,", true},
      {"attach", [&](FakeSpooler& f) { f.dependents = {dependent("Fax", true, true)}; }, "", -1, 1,
       noFile, 2, "stop Fax,start Fax,", true},
      {"install", {}, "Lab", 0, 0, "", 4, "", true},
      // printui that cannot make it the default is told once; one that
      // hangs starts nothing more; an installer that cannot be started
      // installs nothing.
      {"install", {}, "Office PS", -2, 1, noFile, 4, "", true},
      {"install",
       {},
       "Lab",
       2,
       1,
       "\"C:\\Windows\\system32\\rundll32.exe printui.dll,PrintUIEntry /y /n \"Lab\"\" did not "
       "finish within 2 seconds; it is still running.\n",
       2,
       "",
       false},
      {"install", {}, "Lab", -1, 1, noFile, 1, "", false},
      // A restart that failed tells that, whatever the default printer.
      {"install", [](FakeSpooler& f) { f.afterStart = ServiceState::Stopped; }, "Office PS", 0, 1,
       notStarted, 4, "", true},
      {"install",
       {},
       "Office PS",
       0,
       1,
       "The printer \"Lab\" was installed but could not be made the default printer.\n",
       4,
       "",
       true},
      {"install",
       {},
       "Lab",
       1,
       1,
       "\"C:\\Windows\\system32\\rundll32.exe printui.dll,PrintUIEntry /if /b \"Lab\" /f "
       "\"C:\\Pkg\\PSDriver\\QuorvinPS.INF\" /q /r \"LPT1:\" /m \"Quorvin PDF Printer\" /z /u\" "
       "did not finish within 2 seconds; it is still running.\n",
       1,
       "",
       false},
  };
  for (const Case& c : cases) {
    FakeWorld world;  // a fresh machine for each case
    world.files.files.insert(kPackageFiles.begin(), kPackageFiles.end());
    if (c.arrange) c.arrange(world.spooler);
    world.spooler.defaultPrinter = c.defaultPrinter;
    ConsoleServices s{world.platform, output};
    const bool attach = std::string(c.command) == "attach";
    const std::string key = L::kPrintersKeyPrefix + std::string(attach ? "Office PS" : "Lab");
    if (attach) AddPrinter(world, "Office PS", "LPT1:");
    constexpr int kForEver = 1000000;
    world.processes.waitSlices = c.program == 1 ? kForEver : 1;
    if (c.program < 0) world.processes.FailStart(-c.program);
    world.processes.onWait = [&] {
      world.clock.now += 50;  // each wait slice takes its 50 ms
      const std::size_t started = world.processes.starts.size();
      if (c.program > 1 && started + 1 == static_cast<std::size_t>(c.program)) {
        world.processes.waitSlices = kForEver;  // the next one
      }
      if (!attach && started == 1 && !world.registry.HasKey(key)) {
        world.registry.PutString(key, "Port", "LPT1:");  // printui creates the queue
      }
    };
    output.out.clear();
    output.err.clear();
    const std::vector<std::string> args =
        attach ? std::vector<std::string>{"attach", "Office PS", "--timeout", "2"}
               : std::vector<std::string>{"install", "Lab", "--default", "--timeout", "2"};
    SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(RunConsole(args, s), c.exit);
    EXPECT_EQ(output.err, c.err);
    // The notices wait for the outcome: none when the command failed.
    EXPECT_EQ(output.out.empty(), c.exit != 0) << output.out;
    EXPECT_EQ(world.processes.starts.size(), c.starts);
    if (attach && c.starts > 0) {
      EXPECT_EQ(world.processes.starts[0].file, net);
    }
    std::string requests;
    for (const std::string& request : world.spooler.requests) requests += request + ",";
    EXPECT_EQ(requests, c.requests);
    EXPECT_EQ(world.registry.GetString(key, "Port") == std::string("QuorvinPDF:"), c.portWritten);
  }
}

TEST_F(ConsoleWorld, EveryProblemHasItsCodeAndStatusRunsOnlyInThePackageFolder) {
  SetUpHealthy();
  const std::string printer = L::kPrintersKeyPrefix + std::string("Pdf");
  AddPrinter(w, "Pdf", "QuorvinPDF:");
  ASSERT_EQ(Run({"status", "--json"}), 0) << output.out;
  EXPECT_TRUE(Printed("\"problems\": []\n}\n"));
  ASSERT_EQ(Run({"status"}), 0);
  EXPECT_TRUE(
      Printed("  Values    as Fix PDF Port writes them\n  Monitor   "
              "C:\\Windows\\Sysnative\\quorvinmonnt.dll\nPrinters\n  Pdf  [monitored]\n"));
  EXPECT_TRUE(Printed("\n  Protected print mode  off\nHealthy.\n"));
  EXPECT_EQ(Run({"fix-port", "--if-needed"}), 0);
  EXPECT_EQ(output.out, "The PDF port needed no repair.\n");
  const int writes = w.registry.WriteCount();

  struct Fault {
    const char* code;
    std::function<void()> make, undo;
    const char* line = nullptr;  // what the plain report shows of it
  };
  const auto erase = [&](const char* file) { return [&, file] { w.files.files.erase(file); }; };
  const auto put = [&](const char* file) { return [&, file] { w.files.files.insert(file); }; };
  const auto image = [&](const std::string& file, const std::string& bytes) {
    return [&, file, bytes] { w.files.contents[file] = bytes; };
  };
  const std::string gsDll = "C:\\gs\\gsdll32.dll", text(200, 'a');
  const Fault faults[] = {
      {"ghostscript_exe_missing", erase("C:\\gs\\gswin32c.exe"), put("C:\\gs\\gswin32c.exe"),
       "  GSWIN32C  C:\\gs\\gswin32c.exe  [missing]\n"},
      {"ghostscript_dll_missing", erase("C:\\gs\\gsdll32.dll"), put("C:\\gs\\gsdll32.dll"),
       "  GS_DLL    C:\\gs\\gsdll32.dll  [missing]\n"},
      {"driver_wrong", [&] { w.registry.PutString(L::kMonitorKey, "Driver", "QUORVINMONNT.DLL"); },
       [&] { w.registry.PutString(L::kMonitorKey, "Driver", "quorvinmonnt.dll"); },
       "  Driver    QUORVINMONNT.DLL  [not quorvinmonnt.dll]\n"},
      {"port_values_differ", [&] { w.registry.PutDword(L::kPdfPortKey, "Delay", 1); },
       [&] { w.registry.PutDword(L::kPdfPortKey, "Delay", 300); }, "  Values    differ: Delay\n"},
      {"run_program_missing", [&] { w.registry.PutString(L::kPdfPortKey, "Command", "C:\\x.exe"); },
       [&] { w.registry.PutString(L::kPdfPortKey, "Command", "C:\\Pkg\\qvpdfrun.exe"); }},
      {"distiller_missing", erase("C:\\Pkg\\QVPDFDistiller.exe"),
       put("C:\\Pkg\\QVPDFDistiller.exe")},
      {"no_pdf_printer", [&] { w.registry.PutString(printer, "Port", "LPT1:"); },
       [&] { w.registry.PutString(printer, "Port", "QuorvinPDF:"); }, "Printers\n  Pdf\nOptions\n"},
      {"invalid_value", [&] { w.registry.PutString(L::kSettingsKey, "promptPDF", "1"); },
       [&] { w.registry.PutDword(L::kSettingsKey, "promptPDF", 1); },
       "  promptPDF = [wrong type]\n"},
      {"protected_print_mode",
       [&] {
         w.registry.PutDword(L::kProtectedPrintKey, "WindowsProtectedPrintGroupPolicyState", 1);
       },
       [&] {
         w.registry.PutString(L::kProtectedPrintKey, "WindowsProtectedPrintGroupPolicyState", "1");
       }},
      // On beside a value of the wrong type read before it; that one alone,
      // and a 2, are off (the rows after this).
      {"protected_print_mode",
       [&] { w.registry.PutDword(L::kProtectedPrintKey, "WindowsProtectedPrintMode", 1); },
       [&] { w.registry.PutDword(L::kProtectedPrintKey, "WindowsProtectedPrintMode", 2); },
       "\n  Protected print mode  on\n"},
      // Only in the folder a 32-bit build sees: the spooler does not load it.
      {"monitor_missing",
       [&] {
         w.files.files.erase(kMonitorFile);
         w.files.files.insert(kMonitor32);
         w.files.contents[kMonitor32] = fakes::PeImage(kMachineAmd64);
       },
       [&] { w.files.files.insert(kMonitorFile); },
       "  Monitor   C:\\Windows\\Sysnative\\quorvinmonnt.dll  [missing or not for this Windows]\n"},
      {"monitor_missing", [&] { w.files.nativeMachine = kMachineArm64; },
       [&] { w.files.nativeMachine = kMachineAmd64; }},
      {"monitor_missing", [&] { w.files.nativeMachine = kMachineX86; },
       [&] { w.files.nativeMachine = kMachineAmd64; }},
      {"monitor_missing", image(kMonitorFile, text),
       image(kMonitorFile, fakes::PeImage(kMachineAmd64))},
      // set overwrites a text the code page cannot hold.
      {"value_not_in_code_page",
       [&] { w.registry.PutWide(L::kSettingsKey, "defaultPDFDir", u"C:\\\u03a9mega"); },
       [&] {
         EXPECT_EQ(Run({"set", "defaultPDFDir=C:\\Pkg\\PDFs"}), 0);
       },
       "  defaultPDFDir = [not in the code page]\n"},
      {"ghostscript_not_32bit", image(gsDll, fakes::PeImage(kMachineAmd64)),
       image(gsDll, fakes::PeImage(kMachineX86))},
      {"ghostscript_not_32bit", image(gsDll, fakes::PeImage(kMachineArm64)),
       image(gsDll, fakes::PeImage(kMachineX86))},
      {"ghostscript_not_32bit", image(gsDll, text), image(gsDll, fakes::PeImage(kMachineX86)),
       "  GS_DLL    C:\\gs\\gsdll32.dll  [not 32-bit]\n"},
  };
  for (const Fault& fault : faults) {
    fault.make();
    EXPECT_EQ(Run({"status", "--json"}), 3) << fault.code;
    // Just that problem; a run program elsewhere is also a differing value.
    EXPECT_EQ(
        Codes(),
        std::string(fault.code == std::string("run_program_missing") ? "port_values_differ " : "") +
            fault.code + " ");
    if (fault.line != nullptr) {
      EXPECT_EQ(Run({"status"}), 3);
      EXPECT_TRUE(Printed(fault.line));
    }
    fault.undo();
  }
  // All at once, in the order of the list; a missing library hides its type.
  for (const Fault& fault : faults) {
    if (fault.code != std::string("ghostscript_dll_missing")) fault.make();
  }
  w.files.executableInCodePage = false;
  EXPECT_EQ(Run({"status", "--json"}), 3);
  EXPECT_EQ(Codes(),
            "ghostscript_exe_missing driver_wrong port_values_differ run_program_missing "
            "distiller_missing no_pdf_printer invalid_value protected_print_mode monitor_missing "
            "ghostscript_not_32bit folder_not_in_code_page value_not_in_code_page ");
  for (const Fault& fault : faults) fault.undo();
  w.files.executableInCodePage = true;
  ASSERT_EQ(Run({"status"}), 0) << output.out;
  // A port run program and distiller in quotes are still found.
  w.registry.PutString(L::kPdfPortKey, "Arguments", "\"C:\\Pkg\\QVPDFDistiller.exe\" %1");
  EXPECT_EQ(Run({"status"}), 3);
  EXPECT_TRUE(Printed("\nSome PDF port values differ from what Fix PDF Port writes.\n"));
  EXPECT_EQ(output.out.find("distiller"), std::string::npos);
  EXPECT_EQ(Run({"fix-port", "--if-needed"}), 0);
  EXPECT_EQ(output.out, "The default PDF port properties have been restored.\n");
  EXPECT_GT(w.registry.WriteCount(), writes);

  // Run from a folder without the package: nothing is judged or written.
  w.files.files.erase("C:\\Pkg\\qvpdfrun.exe");
  const int before = w.registry.WriteCount();
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"status"}, std::vector<std::string>{"fix-port"},
        std::vector<std::string>{"install", "Lab"}}) {
    EXPECT_EQ(Run(args), 1);
    EXPECT_EQ(output.err,
              "qvpdfrun.exe is not in C:\\Pkg. Run QuorvinConfigCmd.exe from the folder the "
              "package is installed in.\n");
  }
  // A folder beyond the code page is named exactly; where a path made from
  // it would be written, it is refused, and status names the problem.
  w.files.executableUtf8 = "C:\\\xce\xa9mega\\QuorvinConfigCmd.exe";
  EXPECT_EQ(Run({"status"}), 1);
  EXPECT_EQ(output.err,
            "qvpdfrun.exe is not in C:\\\xce\xa9mega. Run QuorvinConfigCmd.exe from the folder "
            "the package is installed in.\n");
  w.files.executableInCodePage = false;
  EXPECT_EQ(Run({"fix-port"}), 1);
  EXPECT_EQ(output.err,
            "This tool's folder holds characters that this system's code page cannot represent, "
            "and it has no short name.\nInstall the package in a folder whose name this code page "
            "can hold.\n");
  EXPECT_EQ(Run({"status", "--json"}), 3);
  EXPECT_TRUE(Printed("\"code\": \"folder_not_in_code_page\""));
  EXPECT_EQ(w.registry.WriteCount(), before);
  EXPECT_EQ(Run({"set", "promptPDF=0"}), 0);  // set needs no package folder
}

TEST_F(ConsoleWorld, StatusListsTheRegisteredGhostscriptsAndOneOnlyIn64Bit) {
  fakes::MemoryRegistry registry64;  // the 64-bit view's own tree
  w.platform.registry64 = &registry64;
  w.registry.PutString("SOFTWARE\\AFPL Ghostscript\\8.50", "GS_DLL", "C:\\gs\\gsdll32.dll");
  w.registry.PutString("SOFTWARE\\GPL Ghostscript\\9.56.1", "GS_DLL", "C:\\gs9\\gsdll32.dll");
  w.registry.PutDword("SOFTWARE\\Artifex Ghostscript\\9.99", "GS_DLL", 1);
  registry64.PutString("SOFTWARE\\GPL Ghostscript\\10.04.0", "GS_DLL", "C:\\gs64\\gsdll64.dll");
  w.files.files.insert("C:\\gs64\\gsdll64.dll");
  EXPECT_EQ(Run({"status"}), 3);
  EXPECT_TRUE(
      Printed("  registered  AFPL Ghostscript 8.50  C:\\gs\\gsdll32.dll  [chosen]  [missing]\n"
              "  registered  GPL Ghostscript 9.56.1  C:\\gs9\\gsdll32.dll  [missing]\n"
              "  registered  Artifex Ghostscript 9.99  (no GS_DLL)  [missing]\n"
              "  Only a 64-bit Ghostscript is installed (C:\\gs64\\gsdll64.dll); the package "
              "needs the 32-bit one.\nPDF port\n  Driver    (missing)  [not quorvinmonnt.dll]\n"));
  EXPECT_TRUE(Printed("Printers\n  (none)\nOptions\n  defaultPDFFile = (not stored)\n"));

  // A GPL version whose library exists replaces the missing AFPL one.
  w.files.files.insert("C:\\gs9\\gsdll32.dll");
  EXPECT_EQ(Run({"status", "--json"}), 3);
  for (const char* part :
       {"\"GS_DLL_exists\": false,\n    \"GS_DLL_32bit\": null,\n    \"registered\": [\n      {\n  "
        "      \"family\": \"AFPL "
        "Ghostscript\",\n        \"version\": \"8.50\",\n        \"GS_DLL\": "
        "\"C:\\\\gs\\\\gsdll32.dll\",\n        \"exists\": false,\n        \"chosen\": false\n     "
        " },",
        "\"version\": \"9.56.1\",\n        \"GS_DLL\": \"C:\\\\gs9\\\\gsdll32.dll\",\n        "
        "\"exists\": true,\n        \"chosen\": true",
        "\"GS_DLL\": \"\",\n        \"exists\": false,\n        \"chosen\": false\n      }\n    "
        "],\n"
        "    \"only_64bit\": null\n  },"}) {
    EXPECT_TRUE(Printed(part));
  }

  // A stored library that exists: the search reads no registration.
  w.registry.PutString(L::kSettingsKey, "GS_DLL", "C:\\gs64\\gsdll64.dll");
  w.files.files.erase("C:\\gs9\\gsdll32.dll");
  Run({"status", "--json"});
  EXPECT_EQ(output.out.find("\"chosen\": true"), std::string::npos);
  EXPECT_TRUE(Printed("\"only_64bit\": null"));
  EXPECT_EQ(w.registry.WriteCount() + registry64.WriteCount(), 0);
  EXPECT_EQ(registry64.OpenHandleCount(), 0);
}

TEST_F(ConsoleWorld, SetValidatesEverythingFirstThenWritesOnlyTheNamedValues) {
  const std::string quote =
      " holds a double quote (\"), which no path or file name can hold. In cmd.exe a backslash "
      "before the closing quote keeps the quote: leave that backslash out, or double it "
      "(\"defaultPDFDir=C:\\My PDFs\\\\\").\n";
  const struct {
    std::vector<std::string> args;
    std::string err;  // whole; any text when empty
  } bad[] = {
      {{"set", "defaultPDFFile=a.pdf", "promptPDF=yes"}, "promptPDF takes 0 or 1, not \"yes\".\n"},
      {{"set", "defaultPDFFile=a.pdf", "userDesktopDir=C:\\"},
       "Unknown setting \"userDesktopDir\"; settable are defaultPDFFile, defaultPDFDir, "
       "defaultPDFAppend, promptPDF, finishMessage, launchPDFApp, GSWIN32C, GS_DLL.\n"},
      {{"set", "=1", "promptPDF=1"}, ""},
      {{"set", "finishMessage=", "promptPDF=1"}, ""},
      {{"set", "promptPDF=0", "launchPDFApp=10"}, ""},
      {{"set", "launchPDFApp=01"}, ""},
      {{"set", "launchPDFApp=2"}, ""},
      {{"set", "finishMessage=\"1\""}, "finishMessage takes 0 or 1, not \"\"1\"\".\n"},
      {{"set", "defaultPDFDir=C:\\My PDFs\""}, "Argument 2" + quote},
      {{"set", "promptPDF=1", "GS_DLL=\"C:\\gs\\gsdll32.dll\""}, "Argument 3" + quote},
      {{"set", "promptPDF=1", "GSWIN32C=C:\\gs\"\\x.exe", "GS_DLL="}, "Argument 3" + quote},
      {{"set", "defaultPDFAppend=\"", "defaultPDFFile=a.pdf"}, "Argument 2" + quote},
  };
  for (const auto& b : bad) {
    EXPECT_EQ(Run(b.args), 2);
    EXPECT_FALSE(output.err.empty());
    if (!b.err.empty()) {
      EXPECT_EQ(output.err, b.err);
    }
    EXPECT_EQ(w.registry.WriteCount(), 0);
  }
  EXPECT_EQ(Run({"set", "defaultpdffile=a.pdf", "finishMessage=0", "GS_DLL="}), 0);
  EXPECT_EQ(w.registry.ValueNames(L::kSettingsKey),
            (std::vector<std::string>{"defaultPDFFile", "finishMessage", "GS_DLL"}));
  EXPECT_EQ(w.registry.GetString(L::kSettingsKey, "defaultPDFFile"), "a.pdf");
  EXPECT_EQ(w.registry.GetDword(L::kSettingsKey, "finishMessage"), 0u);
  EXPECT_EQ(w.registry.GetString(L::kSettingsKey, "GS_DLL"), "");

  w.registry.SetAllReadOnly(true);
  EXPECT_EQ(Run({"set", "promptPDF=1"}), 1);
  EXPECT_EQ(output.err, "Failed to set data for 'promptPDF'\n");
}

TEST_F(ConsoleWorld, ExportKeepsEveryCharacterAndTypeAndLeavesTheDesktopFolderOut) {
  w.registry.PutString(L::kSettingsKey, "userDesktopDir", "C:\\Users\\ann\\Desktop");
  w.registry.PutString(L::kSettingsKey, "defaultPDFFile", "caf\xe9.pdf");
  w.registry.PutString(L::kSettingsKey, "defaultPDFDir", "D:\\\"PDF\"\\");
  w.registry.PutWide(L::kSettingsKey, "defaultPDFAppend", u"a\r\n\u03a9");
  w.registry.PutDword(L::kSettingsKey, "launchPDFApp", 1);
  w.registry.PutRaw(L::kSettingsKey, "GS_DLL", kRegExpandSz, {'%', 'G', '%', 0});
  w.registry.PutString(L::kMonitorKey, "Driver", "quorvinmonnt.dll");
  w.registry.PutDword(L::kPdfPortKey, "Delay", 300);
  EXPECT_EQ(Run({"export", "C:\\fleet.reg"}), 0);
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Hollisfield\\Quorvin PDF\\1.01]\r\n"
      u"\"defaultPDFFile\"=\"caf\u00e9.pdf\"\r\n\"defaultPDFDir\"=\"D:\\\\\\\"PDF\\\"\\\\\"\r\n"
      u"\"defaultPDFAppend\"=hex(1):61,00,0d,00,0a,00,a9,03,00,00\r\n"
      u"\"launchPDFApp\"=dword:00000001\r\n\"GS_DLL\"=hex(2):25,00,47,00,25,00,00,00\r\n"
      u"\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin "
      u"PDF Port]\r\n\"Driver\"=\"quorvinmonnt.dll\"\r\n"
      u"\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin "
      u"PDF Port\\Ports\\QuorvinPDF:]\r\n\"Delay\"=dword:0000012c\r\n";
  std::string bytes = "\xff\xfe";
  for (const char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  EXPECT_EQ(w.files.written["C:\\fleet.reg"], bytes);

  // Any other type is refused, and no file is written.
  w.registry.PutRaw(L::kSettingsKey, "defaultPDFFile", kRegBinary, {1, 2});
  EXPECT_EQ(Run({"export", "C:\\other.reg"}), 1);
  EXPECT_EQ(output.err, "Invalid data type for 'defaultPDFFile'\n");
  EXPECT_EQ(w.files.written.count("C:\\other.reg"), 0u);
}

TEST_F(ConsoleWorld, DetachPutsBackTheRecordedPortAndKeepsTheRecordUntilItTakes) {
  const char* none = nullptr;
  const struct {
    const char* port;      // the printer's Port before
    const char* recorded;  // the port recorded when it was attached
    const char* given;     // --port
    const char* reported;  // what the spooler reports afterwards; null: the registry's
    int code;
    const char* portAfter;
    const char* recordAfter;
    const char* said;  // on standard output (exit 0) or standard error
  } cases[] = {
      {"QuorvinPDF:", "LPT1:", none, none, 0, "LPT1:", none,
       "\"Office PS\" uses the port \"LPT1:\" again.\n"},
      {"QuorvinPDF:", "LPT1:", "IP_10.0.0.7", none, 0, "IP_10.0.0.7", none,
       "\"Office PS\" uses the port \"IP_10.0.0.7\" again.\n"},
      {"QuorvinPDF:", none, "COM1:", none, 0, "COM1:", none,
       "\"Office PS\" uses the port \"COM1:\" again.\n"},
      {"QuorvinPDF:", none, none, none, 1, "QuorvinPDF:", none,
       "The port that \"Office PS\" used before it was pointed at the PDF port is not known. "
       "Name it with --port PORT.\n"},
      // A port the spooler does not know: the record stays for a retry.
      {"QuorvinPDF:", "NUL9:", none, "QuorvinPDF:", 1, "NUL9:", "NUL9:",
       "The print spooler does not report \"Office PS\" on the port \"NUL9:\", so the change "
       "has not taken effect.\n"},
      {"LPT1:", "LPT2:", none, none, 0,
       "LPT1:", "LPT2:", "\"Office PS\" does not use the PDF port; nothing to do.\n"},
  };
  const std::string key = L::kPrintersKeyPrefix + std::string("Office PS");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.port) + " " + (c.recorded ? c.recorded : "-") + " " +
                 (c.given ? c.given : "-"));
    FakeWorld fresh;
    ConsoleServices services{fresh.platform, output};
    AddPrinter(fresh, "Office PS", c.port);
    if (c.recorded) fresh.registry.PutString(L::kPreviousPortsKey, "Office PS", c.recorded);
    if (c.reported) fresh.spooler.reportedPort = c.reported;
    std::vector<std::string> args = {"detach", "oFFICE ps"};
    if (c.given) args.insert(args.end(), {"--port", c.given});
    output.out.clear();
    output.err.clear();
    EXPECT_EQ(RunConsole(args, services), c.code);
    EXPECT_EQ(c.code == 0 ? output.out : output.err, c.said);
    EXPECT_EQ(fresh.registry.GetString(key, "Port"), c.portAfter);
    EXPECT_EQ(fresh.registry.GetString(L::kPreviousPortsKey, "Office PS").has_value(),
              c.recordAfter != none);
    if (c.recordAfter) {
      EXPECT_EQ(fresh.registry.GetString(L::kPreviousPortsKey, "Office PS"), c.recordAfter);
    }
    // Only a printer on the PDF port with a port to go back to restarts.
    EXPECT_EQ(fresh.processes.starts.empty(), std::string(c.portAfter) == c.port);
  }
  // status names the port detach would restore, for printers on the PDF port only.
  AddPrinter(w, "Pdf", "LPT1:");
  ASSERT_EQ(Run({"attach", "Pdf"}), 0);
  Run({"status", "--json"});
  EXPECT_TRUE(
      Printed("\"name\": \"Pdf\",\n      \"monitored\": true,\n      "
              "\"previous_port\": \"LPT1:\""));
  Run({"status"});
  EXPECT_TRUE(Printed("  Pdf  [monitored]  [previously LPT1:]\n"));
  EXPECT_EQ(Run({"detach", "Pdf", "--port"}), 2);
  EXPECT_EQ(output.err, "--port needs the name of a port.\n");
}

}  // namespace
}  // namespace qv
