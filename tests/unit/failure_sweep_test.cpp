// Every command of both programs, run once for each platform call it makes
// with that one call failing: the k-th registry call, the printer list, or
// the k-th program start. Whatever fails, no key or process is left open,
// the user hears of it at most once (exactly once when an error was
// raised), the program goes on, and the stored options change only where
// a user changes them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <optional>

#include "config/registry_layout.h"
#include "config/settings.h"
#include "console/console.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

using fakes::FakeWorld;
namespace L = layout;

class CountingOutput : public IConsoleOutput {
 public:
  int errors = 0;
  void Write(Stream s, const std::string&) override { errors += s == Stream::Err; }
  void WriteUtf8(Stream s, const std::string& t) override { Write(s, t); }
  void WriteUtf8Text(Stream s, const std::string& t) override { Write(s, t); }
  std::string ToUtf8(const std::string& text) override { return text; }
};

// A machine the tool has set up, with a second printer to attach and an
// installer that creates the queue it is asked for.
void SetUpMachine(FakeWorld& w) {
  const std::string k = L::kSettingsKey;
  w.files.files = {"C:\\gs\\gsdll32.dll", "C:\\gs\\gswin32c.exe", "C:\\Pkg\\qvpdfrun.exe",
                   "C:\\Pkg\\QVPDFDistiller.exe"};
  w.registry.PutString("SOFTWARE\\AFPL Ghostscript\\8.50", "GS_DLL", "C:\\gs\\gsdll32.dll");
  w.registry.PutString(k, "GS_DLL", "C:\\gs\\gsdll32.dll");
  w.registry.PutString(k, "GSWIN32C", "C:\\gs\\old.exe");  // derived again at each start
  w.registry.PutString(k, "defaultPDFFile", "mine.pdf");
  w.registry.PutString(k, "defaultPDFDir", "E:\\Out\\");
  w.registry.PutDword(k, "promptPDF", 1);
  w.registry.PutDword(k, "launchPDFApp", 0);  // finishMessage and defaultPDFAppend missing
  w.registry.PutString(L::kMonitorKey, "Driver", "other.dll");
  AddPrinter(w, "Office PS", "LPT1:");
  AddPrinter(w, "Pdf", "QuorvinPDF:");
  w.processes.waitSlices = 1;
  w.processes.onWait = [&w] {
    const std::string lab = L::kPrintersKeyPrefix + std::string("Lab");
    if (!w.registry.HasKey(lab)) w.registry.PutString(lab, "Port", "LPT1:");
  };
  w.dialogs.yesNoAnswer = kIdYes;
  for (int i = 0; i < 2; ++i) w.dialogs.Type("Lab").Choose("C:\\gs\\gsdll32.dll");
}

// The six options as stored: name, type and bytes.
std::map<std::string, std::optional<fakes::RawValue>> StoredOptions(const FakeWorld& w) {
  std::map<std::string, std::optional<fakes::RawValue>> stored;
  for (const Option& option : kOptions) {
    if (option.role == OptionRole::Setting)
      stored[option.name] = w.registry.Get(L::kSettingsKey, option.name);
  }
  return stored;
}

struct Command {
  const char* name;
  void (TfrmMain::*handler)();    // a window command, or
  std::vector<std::string> args;  // a console command
  bool changesOptions = false;    // Save Changes and set may
};

enum class Fault { Registry, Printers, Program };

// Runs the command on a fresh machine, with the fault at call n (0: none).
// Returns how many registry calls, enumerations and starts it made.
std::array<int, 3> RunOnce(const Command& c, Fault fault, int n) {
  FakeWorld w;
  SetUpMachine(w);
  if (c.handler != &TfrmMain::FormCreate) w.Click(&TfrmMain::FormCreate);
  const auto before = StoredOptions(w);
  const std::size_t boxes = w.dialogs.boxes.size(), messages = w.dialogs.messages.size();
  const int errorsBefore = w.form->Commands().Errors();
  const std::array<int, 3> start = {w.registry.Calls(), w.printerBackend.enumerations,
                                    static_cast<int>(w.processes.starts.size())};
  if (n > 0 && fault == Fault::Registry) w.registry.FailCall(n);
  if (n > 0 && fault == Fault::Printers) w.printerBackend.failure = fakes::kSpoolerStopped;
  if (n > 0 && fault == Fault::Program) w.processes.FailStart(n);

  CountingOutput output;
  int exit = 0;
  if (c.handler != nullptr) {
    w.Click(c.handler);
  } else {
    ConsoleServices services{w.platform, output};
    exit = RunConsole(c.args, services);
  }
  const std::array<int, 3> made = {w.registry.Calls() - start[0],
                                   w.printerBackend.enumerations - start[1],
                                   static_cast<int>(w.processes.starts.size()) - start[2]};
  if (n == 0) return made;

  if (c.handler != nullptr) {
    int heard = static_cast<int>(w.dialogs.messages.size() - messages);
    for (std::size_t i = boxes; i < w.dialogs.boxes.size(); ++i) {
      const auto& box = w.dialogs.boxes[i];
      heard += box.caption == kApplicationTitle && box.flags == kMbIconError;
    }
    EXPECT_LE(heard, 1);
    if (w.form->Commands().Errors() > errorsBefore) {
      EXPECT_EQ(heard, 1);
    }
    EXPECT_TRUE(w.form->Commands().Execute([] {}));  // the window takes the next command
  } else {
    // Exit 1 exactly when the one error was told; status may say 3.
    EXPECT_TRUE(exit == 0 || exit == 1 || (c.args[0] == "status" && exit == 3)) << exit;
    EXPECT_LE(output.errors, 1);
    EXPECT_EQ(exit == 1, output.errors == 1) << exit;
  }
  if (!c.changesOptions) {
    const auto after = StoredOptions(w);
    for (const auto& [name, value] : before) {
      // The start-up writes only the defaults of options really missing.
      if (c.handler == &TfrmMain::FormCreate && !value) continue;
      EXPECT_EQ(after.at(name).has_value(), value.has_value()) << name;
      if (value && after.at(name)) {
        EXPECT_EQ(after.at(name)->data, value->data) << name;
      }
    }
  }
  return made;
}

TEST(FailureSweep, EveryCommandSurvivesEachFailingCallAlone) {
  const Command commands[] = {
      {"start-up", &TfrmMain::FormCreate, {}},
      {"Add", &TfrmMain::LMDButton1Click, {}},
      {"Fix PDF Port", &TfrmMain::LMDButton2Click, {}},
      {"Exit", &TfrmMain::LMDButton3Click, {}},
      {"Change file", &TfrmMain::LMDButton4Click, {}},
      {"Change gswin32c.exe", &TfrmMain::LMDButton5Click, {}},
      {"Change gsdll32.dll", &TfrmMain::LMDButton6Click, {}},
      {"About", &TfrmMain::LMDButton7Click, {}},
      {"Query New Printers", &TfrmMain::LMDButton9Click, {}},
      {"Query Printers Monitored", &TfrmMain::LMDButton10Click, {}},
      {"Save Changes", &TfrmMain::savechangesBtnClick, {}, true},
      {"Install PS Driver", &TfrmMain::installpsdriverBtnClick, {}},
      {"status", nullptr, {"status"}},
      {"status --json", nullptr, {"status", "--json"}},
      {"fix-port", nullptr, {"fix-port"}},
      {"fix-port --if-needed", nullptr, {"fix-port", "--if-needed"}},
      {"attach", nullptr, {"attach", "office ps"}},
      {"install", nullptr, {"install", "Lab", "--default"}},
      {"set", nullptr, {"set", "defaultPDFFile=a.pdf", "promptPDF=0"}, true},
      {"export", nullptr, {"export", "C:\\fleet.reg"}},
  };
  int runs = 0;
  for (const Command& c : commands) {
    SCOPED_TRACE(c.name);
    const std::array<int, 3> calls = RunOnce(c, Fault::Registry, 0);
    for (int k = 1; k <= calls[0]; ++k, ++runs) {
      SCOPED_TRACE("registry call " + std::to_string(k));
      RunOnce(c, Fault::Registry, k);
    }
    if (calls[1] > 0) {
      SCOPED_TRACE("printer list");
      RunOnce(c, Fault::Printers, 1);
      ++runs;
    }
    for (int k = 1; k <= calls[2]; ++k, ++runs) {
      SCOPED_TRACE("program start " + std::to_string(k));
      RunOnce(c, Fault::Program, k);
    }
  }
  std::printf("failure sweep: %zu commands, %d runs\n", std::size(commands), runs);
}

}  // namespace
}  // namespace qv
