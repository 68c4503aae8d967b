// In-memory stand-ins for every platform service, and a form wired to them,
// so that the main window's handlers run natively in unit tests.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "app/main.h"
#include "console/output.h"
#include "platform/platform.h"
#include "tests/common/texts.h"
#include "tests/fakes/memory_controls.h"
#include "tests/fakes/memory_registry.h"

namespace qv::fakes {

// Text of the fakes' code page, Latin-1, in UTF-8.
std::string Latin1ToUtf8(const std::string& text);

class FakePrinters : public IPrinterBackend {
 public:
  std::vector<std::string> names;
  // Listed names that did not come through the code page, each with the
  // printer's own name in UTF-8; the others are exact.
  std::map<std::string, std::string> inexact;
  int enumerations = 0;
  // Set: every enumeration fails with this text, as with a stopped spooler.
  std::string failure;
  std::vector<PrinterName> EnumPrinterNames() override;
};

// What a stopped spooler makes EnumPrinters report.
constexpr const char* kSpoolerStopped =
    "System Error.  Code: 1722.\r\nThe RPC server is unavailable";

// Records every start; each start succeeds unless its file is listed in
// missingPrograms. A started process "runs" for waitSlices wait calls, and
// onWait runs at each of them (as the window's messages would).
class FakeProcesses : public IProcessRunner {
 public:
  struct Start {
    std::string file;
    std::string parameters;
  };
  std::vector<Start> starts;
  std::set<std::string> missingPrograms;
  // The n-th start from now on fails as a missing program does.
  void FailStart(int n) { failStart_ = static_cast<int>(starts.size()) + n; }
  int waitSlices = 0;
  std::function<void()> onWait;
  int openProcesses = 0;
  struct Open {
    std::uintptr_t owner;
    ShellCall call;
  };
  std::vector<Open> opened;
  // The desktop's shell takes every link handed to it when reachable; its
  // opens are recorded with owner 0.
  bool elevated = false;
  bool desktopShellReachable = false;
  std::vector<Open> desktopOpened;

  // Messages "arrive" once during every start.
  bool StartHidden(const std::string& file, const std::string& parameters, ProcessHandle* process,
                   std::uint32_t* errorCode, const std::function<void()>& whileStarting) override;
  WaitResult WaitOrMessage(ProcessHandle process, std::uint32_t timeoutMs) override;
  void CloseProcess(ProcessHandle process) override;
  std::string SystemErrorText(std::uint32_t code) override;
  void ShellOpen(std::uintptr_t owner, const ShellCall& call) override;
  bool IsElevated() override { return elevated; }
  bool OpenAsDesktopUser(const ShellCall& call) override {
    if (desktopShellReachable) desktopOpened.push_back({0, call});
    return desktopShellReachable;
  }

 private:
  int remaining_ = 0;
  int failStart_ = 0;
};

class FakeFiles : public IFileSystem {
 public:
  std::set<std::string> files;  // existing files, exact names
  std::string executable = "C:\\Pkg\\QuorvinConfig.exe";
  std::optional<std::string> desktop = "C:\\Users\\ann\\Desktop";
  unsigned codePage = 1252;                    // 932, 936, 949 and 950 have double-byte characters
  std::map<std::string, std::string> written;  // WriteFile's files
  bool FileExists(const std::string& name) override { return files.count(name) != 0; }
  // The program's path as the code page holds it: refused when
  // executableInCodePage is false; executableUtf8 is its exact form (the
  // path itself when empty).
  bool executableInCodePage = true;
  std::string executableUtf8;
  std::optional<std::string> OwnExecutablePath() override {
    if (!executableInCodePage) return std::nullopt;
    return executable;
  }
  std::string OwnExecutableUtf8() override {
    return executableUtf8.empty() ? executable : executableUtf8;
  }
  std::optional<std::string> DesktopFolder() override { return desktop; }
  // The fakes' text is its own UTF-8.
  std::string ToUtf8(const std::string& text) override { return text; }
  std::string SystemFolder() override { return "C:\\Windows\\system32"; }
  bool IsLeadByte(unsigned char byte) override;
  // Set: the next write fails halfway with this system text, as on a full
  // disk, and the file keeps what it held.
  std::string writeFailure;
  void WriteFile(const std::string& path, const std::string& data) override;
  std::map<std::string, std::string> contents;  // of existing files; empty when not given
  bool ReadBytes(const std::string& path, std::uint64_t offset, std::size_t count,
                 std::string* bytes) override;
  // A 32-bit build on 64-bit Windows: System32 is redirected to SysWOW64;
  // the spooler's own folder is reached through Sysnative.
  std::string nativeSystemFolder = "C:\\Windows\\Sysnative";
  std::string NativeSystemFolder() override { return nativeSystemFolder; }
  std::uint16_t nativeMachine = kMachineAmd64;
  std::uint16_t NativeMachine() override { return nativeMachine; }
};

// The first bytes of a PE image for that machine, as the header reader
// needs them.
std::string PeImage(std::uint16_t machine);

// Every dialog call is recorded; answers come from queues. A message box
// with no queued answer answers OK (IDOK, or IDYES for a yes/no box would be
// a guess, so an unanswered yes/no box fails the test).
class FakeDialogs : public IDialogs {
 public:
  struct Box {
    std::string text;
    std::string caption;
    unsigned flags;
    friend bool operator==(const Box& a, const Box& b) {
      return a.text == b.text && a.caption == b.caption && a.flags == b.flags;
    }
    friend bool operator!=(const Box& a, const Box& b) { return !(a == b); }
    // {"text", "caption", 0x10} in GoogleTest's messages.
    friend void PrintTo(const Box& box, std::ostream* out);
  };
  std::vector<Box> boxes;
  std::deque<int> answers;
  // Set: the answer to every yes/no question without a queued one.
  int yesNoAnswer = 0;
  std::vector<std::string> messages;  // simple message window texts
  struct Input {
    std::string caption, prompt, initial;
  };
  std::vector<Input> inputs;
  std::deque<std::function<bool(std::string&)>> inputAnswers;
  struct FileChoice {
    bool accept;
    std::string path;
  };
  std::vector<std::string> fileDialogs;  // "open:<initial name>" / "save:<initial name>"
  std::vector<std::string> fileDialogDirs;
  std::deque<FileChoice> fileChoices;  // none queued: cancelled
  // Runs inside each message box, before it answers.
  std::function<void(const Box&)> onBox;

  int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
  bool ExecuteOpen(FileDialog& dialog) override { return Execute("open", dialog); }
  bool ExecuteSave(FileDialog& dialog) override { return Execute("save", dialog); }

  // Queue helpers.
  FakeDialogs& Answer(int id) {
    answers.push_back(id);
    return *this;
  }
  FakeDialogs& Choose(const std::string& path) {
    fileChoices.push_back({true, path});
    return *this;
  }
  FakeDialogs& Cancel() {
    fileChoices.push_back({false, ""});
    return *this;
  }
  FakeDialogs& Type(const std::string& text) {
    inputAnswers.push_back([text](std::string& v) {
      v = text;
      return true;
    });
    return *this;
  }
  FakeDialogs& CancelInput() {
    inputAnswers.push_back([](std::string&) { return false; });
    return *this;
  }

 private:
  bool Execute(const char* kind, FileDialog& dialog);
};

// A box of the error display: the text under the tool's title, with the
// error icon and OK.
inline FakeDialogs::Box ErrorBox(const std::string& text) {
  return {text, "Quorvin PDF Configuration Tool", 0x10};
}

// The start-up's question for a Ghostscript file it cannot find.
inline FakeDialogs::Box GhostscriptMissingBox(const std::string& file) {
  return {texts::GhostscriptMissingText(file), "Can't find " + file, 0x10};
}

// Whether the message boxes shown are exactly these, in order, each with
// its text, caption and flags; BoxesShownSince leaves out the first
// `before` boxes, which were shown earlier.
::testing::AssertionResult BoxesShown(const FakeDialogs& dialogs,
                                      const std::vector<FakeDialogs::Box>& expected);
::testing::AssertionResult BoxesShownSince(const FakeDialogs& dialogs, std::size_t before,
                                           const std::vector<FakeDialogs::Box>& expected);

class FakeApplication : public IApplication {
 public:
  int processed = 0;
  std::function<void()> onProcessMessages;
  void ProcessMessages() override {
    ++processed;
    if (onProcessMessages) onProcessMessages();
  }
};

// The print spooler service, the services that depend on it and the
// default printer. The spooler follows the NET calls of the fake
// processes: after a STOP it reports Changing for stoppingMs, then
// afterStop; after a START, Changing for startingMs, then afterStart;
// otherwise afterStart. A dependent it obeys is Changing for takesMs after
// each request (startTakesMs after a start, when set). A printer's port is
// its Port in the registry, as Wine's spooler reports it, unless
// reportedPort is set.
class FakeSpooler : public ISpooler {
 public:
  FakeSpooler(const FakeProcesses& processes, const MemoryRegistry& registry, IClock& clock)
      : processes_(processes), registry_(registry), clock_(clock) {}
  ServiceState afterStop = ServiceState::Stopped;
  ServiceState afterStart = ServiceState::Running;
  std::uint64_t stoppingMs = 0, startingMs = 0;
  struct Dependent {
    Service service;
    bool stops = true, starts = true;  // whether it obeys a request
    ServiceState state = ServiceState::Running;
    std::uint64_t takesMs = 0;
    std::optional<std::uint64_t> startTakesMs = std::nullopt;  // a start's, when not takesMs
    std::uint64_t readyAt = 0;                                 // Changing until then
  };
  std::vector<Dependent> dependents;
  std::vector<std::string> requests;  // "stop NAME" and "start NAME", in order
  std::optional<std::string> reportedPort;
  int printerUnknownFor = 0;  // PrinterPort answers nullopt this many times first
  int portQuestions = 0;      // PrinterPort calls
  std::string defaultPrinter;

  ServiceState State(const std::string& service) override;
  std::vector<Service> RunningDependents() override;
  bool Stop(const std::string& service) override;
  bool Start(const std::string& service) override;
  std::optional<std::string> PrinterPort(const std::string& printer) override;
  // The printer key's "Printer Driver", as Wine's spooler reports it.
  std::optional<std::string> PrinterDriver(const std::string& printer) override;
  // defaultPrinter when set; otherwise the last printer that printui was
  // asked to make the default, as a working spooler would report it.
  std::string DefaultPrinter() override;

 private:
  Dependent* Find(const std::string& service);
  const FakeProcesses& processes_;
  const MemoryRegistry& registry_;
  IClock& clock_;
  std::size_t netSeen_ = 0;  // the NET start whose time is netAt_
  std::uint64_t netAt_ = 0;
};

// Time that passes only when told: Sleep moves it on.
class FakeClock : public IClock {
 public:
  std::uint64_t now = 0;
  std::uint64_t NowMs() override { return now; }
  void Sleep(std::uint32_t ms) override { now += ms; }
};

// The machine's restart lock, as other programs hold it: another
// "process" holds it until heldUntil on the clock and then gives it back,
// or, abandoned, ends there without giving it back. denied, or a failure
// text, makes every attempt fail so.
class FakeRestartLock : public IRestartLock {
 public:
  explicit FakeRestartLock(IClock& clock) : clock_(clock) {}
  std::uint64_t heldUntil = 0;
  bool abandoned = false;
  bool denied = false;
  std::string failure;
  bool held = false;  // by this program
  int acquisitions = 0;
  // Runs whenever this program takes or gives back the lock.
  std::function<void()> onChange;
  LockAttempt TryAcquire(std::uint32_t sliceMs) override;
  void Release() override;

 private:
  IClock& clock_;
};

// Records every event reported, in order.
class FakeEventLog : public IEventLog {
 public:
  struct Event {
    EventLevel level;
    std::uint32_t id;
    std::string text;
  };
  std::vector<Event> events;
  void Report(EventLevel level, std::uint32_t id, const std::string& text) noexcept override {
    events.push_back({level, id, text});
  }
};

// Each event reported, as "ID level: what changed" (its first line), the
// level as I, W or E.
inline std::vector<std::string> EventSummaries(const FakeEventLog& log) {
  std::vector<std::string> summaries;
  for (const FakeEventLog::Event& event : log.events) {
    const char level = event.level == EventLevel::Information ? 'I'
                       : event.level == EventLevel::Warning   ? 'W'
                                                              : 'E';
    summaries.push_back(std::to_string(event.id) + " " + level + ": " +
                        event.text.substr(0, event.text.find("\r\n")));
  }
  return summaries;
}

// A whole world for one test: the registry, printers, processes, files,
// dialogs and the main form bound to in-memory controls. The form's Exit
// and About hooks are counted.
struct FakeWorld {
  FakeWorld();
  // Every command must leave no registry key, no process handle and not
  // the restart lock open.
  ~FakeWorld();

  // Runs a handler through the form's command boundary, as a click would.
  void Click(void (TfrmMain::*handler)());

  MemoryRegistry registry;
  FakePrinters printerBackend;
  PrinterService printers{printerBackend};
  FakeProcesses processes;
  FakeFiles files;
  FakeDialogs dialogs;
  FakeApplication app;
  FakeClock clock;
  FakeSpooler spooler{processes, registry, clock};
  FakeRestartLock restartLock{clock};
  FakeEventLog events;
  Platform platform{registry, printers, processes,   files, spooler,
                    clock,    nullptr,  restartLock, events};

  MemoryText Edit2, Edit3, Edit4, Edit5, Edit6;
  MemoryList ComboBox1, ListBox1;
  MemoryCheck CheckBox1, CheckBox2, CheckBox3;
  std::unique_ptr<TfrmMain> form;
  int closes = 0;
  int aboutShown = 0;
};

// A printer the system lists, with its key and port.
void AddPrinter(FakeWorld& w, const std::string& name, const std::string& port);

// The console's two streams, kept; the code page is Latin-1.
class FakeOutput : public IConsoleOutput {
 public:
  std::string out, err;
  void Write(Stream s, const std::string& text) override { (s == Stream::Out ? out : err) += text; }
  void WriteUtf8(Stream s, const std::string& text) override { Write(s, text); }
  void WriteUtf8Text(Stream s, const std::string& text) override { Write(s, text); }
  std::string ToUtf8(const std::string& text) override { return Latin1ToUtf8(text); }
};

}  // namespace qv::fakes
