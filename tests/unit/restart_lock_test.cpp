// The machine-wide restart lock: a restart waits for another one, takes
// over a lock whose holder ended, and skips its own restart only when the
// one it waited for already brought the printer onto the port.
#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "config/registry_layout.h"
#include "console/console.h"
#include "printing/attach.h"
#include "printing/spooler_restart.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

using fakes::FakeWorld;
namespace L = layout;

const std::string kOffice = L::kPrintersKeyPrefix + std::string("Office PS");
constexpr const char* kAttached =
    "Processes complete.  The printer should now appear in your Monitored Printers list.";

// Office PS on LPT1:, with a dependent service; each program started runs
// one 50 ms slice, and the restarted spooler loads its printers late. What
// the service manager and the programs had seen when the lock was taken
// and given back is recorded.
struct LockWorld {
  LockWorld() {
    w.printerBackend.names = {"Office PS"};
    w.registry.PutString(kOffice, "Port", "LPT1:");
    w.spooler.dependents = {{{"Fax", "Fax"}}};
    w.processes.waitSlices = 1;
    w.processes.onWait = [this] {
      w.clock.now += 50;
      if (w.processes.starts.size() == 2 && !restarted) {
        restarted = true;
        w.spooler.reportedPort.reset();
        w.spooler.printerUnknownFor = 1;
      }
    };
    w.restartLock.onChange = [this] {
      seen.push_back(std::to_string(w.clock.now) + "ms " +
                     std::to_string(w.processes.starts.size()) + " started, " +
                     std::to_string(w.spooler.requests.size()) + " requests, port asked " +
                     std::to_string(w.spooler.portQuestions));
    };
  }
  FakeWorld w;
  bool restarted = false;
  std::vector<std::string> seen;
};

// Another program's restart holds the lock for heldMs. When it has brought
// the printer onto the PDF port, the spooler reports the registry's Port;
// otherwise LPT1: until this program restarts it.
void OtherRestart(FakeWorld& w, std::uint64_t heldMs, bool broughtPort) {
  w.restartLock.heldUntil = heldMs;
  if (!broughtPort) w.spooler.reportedPort = "LPT1:";
}

// The restart names the NET that could not be started, stop or start.
TEST(RestartLock, ARestartWhoseNetCannotStartTellsWhichOne) {
  for (const int failing : {1, 2}) {
    fakes::FakeWorld w;
    w.processes.FailStart(failing);
    AskingWait wait(w.app, w.clock, w.dialogs);
    const RestartOutcome outcome = RestartSpooler(w.platform, wait);
    EXPECT_EQ(outcome.result, RestartResult::ProgramNotStarted);
    EXPECT_EQ(outcome.text, "The system cannot find the file specified");
  }
}

TEST(RestartLock, AttachWaitsForAnotherRestartWithinItsTimeout) {
  using Arrange = std::function<void(FakeWorld&)>;
  const std::string busy = std::string(kRestartInProgressText) + "\n";
  // Taken before the dependent is stopped, given back after it is started
  // again and the port has been asked (once more after a wait).
  const auto span = [](const char* at, int asked) {
    return std::vector<std::string>{
        std::string(at) + " 0 started, 0 requests, port asked 0",
        "... 2 started, 2 requests, port asked " + std::to_string(asked)};
  };
  struct Case {
    const char* what;
    Arrange arrange;
    int exit;
    std::string out, err;
    std::size_t starts;
    std::vector<std::string> seen;  // "..." stands for any time
  };
  const Case cases[] = {
      {"free", {}, 0, std::string(kAttached) + "\n", "", 2, span("0ms", 2)},
      {"held, then released without the change", [](FakeWorld& w) { OtherRestart(w, 1500, false); },
       0, std::string(kAttached) + "\n", "", 2, span("1500ms", 3)},
      // --timeout 2 bounds the wait: released at the limit, it is taken.
      {"released at the limit", [](FakeWorld& w) { OtherRestart(w, 2000, false); }, 0,
       std::string(kAttached) + "\n", "", 2, span("2000ms", 3)},
      {"released past the limit",
       [](FakeWorld& w) { OtherRestart(w, 2001, false); },
       1,
       "",
       busy,
       0,
       {}},
      // The other restart took the change with it: nothing is restarted.
      {"held, then released with the change",
       [](FakeWorld& w) { OtherRestart(w, 1500, true); },
       0,
       std::string(kAttached) + "\n",
       "",
       0,
       {"1500ms 0 started, 0 requests, port asked 0",
        "1500ms 0 started, 0 requests, port asked 1"}},
      // A holder that ended midway finished nothing: always restarted.
      {"abandoned at once",
       [](FakeWorld& w) {
         OtherRestart(w, 0, true);
         w.restartLock.abandoned = true;
       },
       0, std::string(kAttached) + "\n", "", 2, span("0ms", 2)},
      {"held, then abandoned",
       [](FakeWorld& w) {
         OtherRestart(w, 1500, true);
         w.restartLock.abandoned = true;
       },
       0, std::string(kAttached) + "\n", "", 2, span("1500ms", 2)},
      {"denied",
       [](FakeWorld& w) { w.restartLock.denied = true; },
       1,
       "",
       "Access to the lock that keeps restarts of the print spooler apart was denied, so the "
       "print spooler was not restarted.\n",
       0,
       {}},
      {"failed",
       [](FakeWorld& w) { w.restartLock.failure = "The handle is invalid"; },
       1,
       "",
       "The lock that keeps restarts of the print spooler apart could not be taken (The handle "
       "is invalid), so the print spooler was not restarted.\n",
       0,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LockWorld world;
    FakeWorld& w = world.w;
    if (c.arrange) c.arrange(w);
    fakes::FakeOutput output;
    ConsoleServices services{w.platform, output};
    EXPECT_EQ(RunConsole({"attach", "Office PS", "--timeout", "2"}, services), c.exit);
    EXPECT_EQ(output.out, c.out);
    EXPECT_EQ(output.err, c.err);
    EXPECT_EQ(w.processes.starts.size(), c.starts);
    EXPECT_EQ(w.spooler.requests.size(), c.starts);                   // stop Fax, start Fax
    EXPECT_EQ(w.registry.GetString(kOffice, "Port"), "QuorvinPDF:");  // written before the wait
    ASSERT_EQ(world.seen.size(), c.seen.size());
    for (std::size_t i = 0; i < c.seen.size(); ++i) {
      if (c.seen[i].rfind("...", 0) == 0) {
        EXPECT_EQ(world.seen[i].substr(world.seen[i].find(' ')), c.seen[i].substr(3));
      } else {
        EXPECT_EQ(world.seen[i], c.seen[i]);
      }
    }
  }
}

// The window keeps answering while it waits, holds its other commands
// back, and asks after each five minutes; each row's boxes after Add's
// confirmation.
TEST(RestartLock, TheWindowWaitsAnsweringAndAsksAfterFiveMinutes) {
  const std::string title = kApplicationTitle, done = "Processes Complete";
  const auto asked = [](int minutes) {
    return "The print spooler's restart by another program has been running for " +
           std::to_string(minutes) + " minutes.\rWait for it another 5 minutes?";
  };
  struct Case {
    const char* what;
    std::uint64_t heldMs;
    bool broughtPort;
    std::vector<int> answers;
    std::vector<fakes::FakeDialogs::Box> boxes;
    std::size_t starts;
  };
  const Case cases[] = {
      {"waited out",
       7 * 60000,
       false,
       {kIdYes},
       {{asked(5), "Still Running", 0x24}, {kAttached, done, 0}},
       2},
      {"given up",
       60 * 60000,
       false,
       {kIdYes, kIdNo},
       {{asked(5), "Still Running", 0x24},
        {asked(10), "Still Running", 0x24},
        {kRestartInProgressText, title, 0x10}},
       0},
      {"the other restart brought the port", 60000, true, {}, {{kAttached, done, 0}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LockWorld world;
    FakeWorld& w = world.w;
    w.form->RefreshPrinterList();
    OtherRestart(w, c.heldMs, c.broughtPort);
    w.dialogs.Answer(kIdYes);
    for (const int answer : c.answers) w.dialogs.Answer(answer);
    int fixPortPressed = 0;
    w.app.onProcessMessages = [&] {
      if (w.restartLock.held || fixPortPressed > 0) return;
      EXPECT_TRUE(w.form->ButtonClick(kIdLMDButton2));  // Fix PDF Port, held back
      ++fixPortPressed;
    };
    w.Click(&TfrmMain::LMDButton1Click);
    ASSERT_EQ(w.dialogs.boxes.size(), c.boxes.size() + 1);
    for (std::size_t i = 0; i < c.boxes.size(); ++i) {
      EXPECT_EQ(w.dialogs.boxes[i + 1].text, c.boxes[i].text);
      EXPECT_EQ(w.dialogs.boxes[i + 1].caption, c.boxes[i].caption);
      EXPECT_EQ(w.dialogs.boxes[i + 1].flags, c.boxes[i].flags);
    }
    EXPECT_EQ(w.processes.starts.size(), c.starts);
    // Messages answered in every 50 ms slice of the wait.
    EXPECT_GE(w.app.processed,
              static_cast<int>(std::min<std::uint64_t>(c.heldMs, w.clock.now) / kLockSliceMs) - 1);
    EXPECT_EQ(fixPortPressed, 1);
    EXPECT_FALSE(w.registry.HasKey(L::kMonitorKey));
  }
}

// The window's own restart holds the lock too, and with no port to expect
// it restarts even after a wait.
TEST(RestartLock, TheWindowsRestartSpoolerWaitsAndRestarts) {
  LockWorld world;
  FakeWorld& w = world.w;
  OtherRestart(w, 1000, true);
  w.form->Commands().Execute([&] { w.form->RestartSpooler(); });
  EXPECT_EQ(w.processes.starts.size(), 2u);
  ASSERT_EQ(world.seen.size(), 2u);
  EXPECT_EQ(world.seen[0], "1000ms 0 started, 0 requests, port asked 0");
  EXPECT_EQ(world.seen[1], "1100ms 2 started, 2 requests, port asked 0");
}

// The outcome tells a restart left to the other program from one run here,
// for the reports of what a command changed.
TEST(RestartLock, TheOutcomeTellsWhoRestarted) {
  struct Waiter : IWaitPolicy {
    void Idle() override {}
    bool KeepWaiting(const std::string&, std::uint64_t) override { return true; }
    void NotStarted(const std::string&) override {}
    void Pause(std::uint32_t) override {}
  } wait;
  for (const bool broughtPort : {true, false}) {
    SCOPED_TRACE(broughtPort);
    LockWorld world;
    OtherRestart(world.w, 1000, broughtPort);
    const RestartOutcome outcome =
        AttachAndRestart(world.w.platform, wait, "Office PS", L::kPdfPortName, false);
    EXPECT_EQ(outcome.result, RestartResult::Restarted);
    EXPECT_EQ(outcome.byOtherRestart, broughtPort);
    EXPECT_EQ(world.w.processes.starts.size(), broughtPort ? 0u : 2u);
  }
}

}  // namespace
}  // namespace qv
