// Benchmarks of the real program under Wine, driven from outside:
//   startup TOOL BARE PAIRS  time from process start to the main window shown
//                            with lists and options filled, against a bare
//                            window program, in alternating pairs
//   respond TOOL LABEL RUNS  during "Add", how long the tool's window takes
//                            to answer a message sent every 5 ms, per run
//   startblock STARTS        how long starting net.exe keeps the starting
//                            thread from answering its window: the shell's
//                            call made directly, against the command runner
//   lists TOOL N             both printer list refreshes with N queues
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/win_process.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Process {
  PROCESS_INFORMATION info{};
  ~Process() {
    if (info.hProcess) {
      if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 1);
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
    }
  }
};

bool Start(const std::string& exe, Process& process) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string command = "\"" + exe + "\"";
  std::string folder = exe.substr(0, exe.find_last_of("\\/") + 1);
  return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &process.info) != 0;
}

struct Search {
  DWORD pid;
  const char* caption;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char text[256] = "";
  if (pid == search->pid && IsWindowVisible(window) && GetWindowTextA(window, text, sizeof text) &&
      std::string(text) == search->caption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindWindowOf(DWORD pid, const char* caption) {
  Search search{pid, caption, nullptr};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct ChildSearch {
  const char* className;
  const char* text;  // null: any
  HWND found;
};

BOOL CALLBACK FindChildProc(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  char cls[64] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpiA(cls, search->className) != 0) return TRUE;
  if (search->text) {
    char text[512] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 1000, nullptr);
    if (std::string(text) != search->text) return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND FindChild(HWND parent, const char* className, const char* text = nullptr) {
  ChildSearch search{className, text, nullptr};
  EnumChildWindows(parent, FindChildProc, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The tool is ready when its main window is visible, the printer box holds
// printers and the Options group shows the stored file name.
HWND ToolReady(DWORD pid) {
  HWND main = FindWindowOf(pid, "Quorvin PDF - Configuration Tool");
  if (!main) return nullptr;
  HWND combo = FindChild(main, "ComboBox");
  if (!combo || SendMessageA(combo, CB_GETCOUNT, 0, 0) <= 0) return nullptr;
  return FindChild(main, "Edit", "QuorvinPDF.pdf") ? main : nullptr;
}

void CloseAndWait(HWND window, Process& process) {
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.info.hProcess, 10000);
}

// Milliseconds from start until ready() finds the window; -1 on time-out.
template <typename Ready>
double TimeStart(const std::string& exe, Ready ready) {
  Process process;
  const auto start = Clock::now();
  if (!Start(exe, process)) return -1;
  HWND window = nullptr;
  while (!(window = ready(process.info.dwProcessId))) {
    if (MsSince(start) > 30000) return -1;
    Sleep(1);
  }
  const double ms = MsSince(start);
  CloseAndWait(window, process);
  return ms;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

int StartupBench(const std::string& tool, const std::string& bare, int pairs) {
  auto toolReady = [](DWORD pid) { return ToolReady(pid); };
  auto bareReady = [](DWORD pid) { return FindWindowOf(pid, "Bare window"); };
  // One untimed run of each warms the file cache.
  TimeStart(tool, toolReady);
  TimeStart(bare, bareReady);
  std::vector<double> toolTimes, bareTimes, ratios;
  for (int i = 0; i < pairs; ++i) {
    double t, b;
    if (i % 2 == 0) {
      t = TimeStart(tool, toolReady);
      b = TimeStart(bare, bareReady);
    } else {
      b = TimeStart(bare, bareReady);
      t = TimeStart(tool, toolReady);
    }
    if (t < 0 || b < 0) {
      std::printf("start-up: a program did not come up\n");
      return 1;
    }
    toolTimes.push_back(t);
    bareTimes.push_back(b);
    ratios.push_back(t / b);
  }
  std::printf("start-up, median of %d alternating pairs\n", pairs);
  std::printf("  tool        %8.1f ms\n", Median(toolTimes));
  std::printf("  bare window %8.1f ms\n", Median(bareTimes));
  std::printf("  ratio       %8.3f (median of pair ratios; target <= 1.10)\n", Median(ratios));
  return 0;
}

HWND WaitMessageBox(DWORD pid, const char* caption, double timeoutMs) {
  const auto start = Clock::now();
  while (MsSince(start) < timeoutMs) {
    if (HWND box = FindWindowOf(pid, caption)) return box;
    Sleep(2);
  }
  return nullptr;
}

void PressButton(HWND box, const char* caption) {
  if (HWND button = FindChild(box, "Button", caption)) PostMessageA(button, BM_CLICK, 0, 0);
}

// Median, 99th percentile and worst of a set of answer times.
struct Spread {
  double median, p99, worst;
};
Spread SpreadOf(std::vector<double> ms) {
  if (ms.empty()) return {0, 0, 0};
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)], ms.back()};
}

// The window's answers during one "Add", from the confirmation until the
// completion message, to a message sent every 5 ms: LB_GETCOUNT to the
// monitored-printers list, which the window's thread answers as it would
// WM_NULL, and whose answer tells the phase. Until the printer shows as
// monitored, the command is writing the port and starting and waiting for
// NET; after it, the lists have been refreshed and the completion message
// comes up. Empty when the command did not complete.
struct AddAnswers {
  std::vector<double> duringNet, after;
};
AddAnswers AnswersDuringAdd(const std::string& tool) {
  // The printer starts unmonitored at every run.
  RegSetKeyValueA(HKEY_LOCAL_MACHINE,
                  "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office_PS", "Port", REG_SZ,
                  "LPT1:", 6);
  Process process;
  if (!Start(tool, process)) return {};
  const DWORD pid = process.info.dwProcessId;
  const auto start = Clock::now();
  HWND main = nullptr;
  while (!(main = ToolReady(pid))) {
    if (MsSince(start) > 30000) return {};
    Sleep(5);
  }
  HWND monitored = FindChild(main, "ListBox");
  PressButton(main, "Add");
  HWND ask = WaitMessageBox(pid, "Continue?", 10000);
  if (!ask || !monitored) return {};
  PressButton(ask, "&Yes");
  PressButton(ask, "Yes");
  AddAnswers result;
  HWND done = nullptr;
  while (!(done = FindWindowOf(pid, "Processes Complete"))) {
    if (MsSince(start) > 90000) return {};
    const auto sent = Clock::now();
    DWORD_PTR count = 0;
    const bool answered =
        SendMessageTimeoutA(monitored, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 1000, &count);
    const double ms = answered ? MsSince(sent) : 1000;
    (answered && count == 0 ? result.duringNet : result.after).push_back(ms);
    if (ms > 5 && std::getenv("QV_BENCH_VERBOSE")) {
      std::printf("  slow answer %.2f ms at %.0f ms\n", ms, MsSince(start));
    }
    Sleep(5);
  }
  PressButton(done, "OK");
  Sleep(200);
  CloseAndWait(main, process);
  return result;
}

// The window's answers during "Add", over several runs, with whatever
// net.exe the system folder holds.
int RespondBench(const std::string& tool, const char* label, int runs) {
  std::printf("responsiveness during Add with %s (a message every 5 ms; target: worst <= 10 ms)\n",
              label);
  int within = 0;
  for (int run = 1; run <= runs; ++run) {
    const AddAnswers answers = AnswersDuringAdd(tool);
    if (answers.duringNet.empty()) {
      std::printf("  run %d: the command did not complete\n", run);
      return 1;
    }
    const Spread net = SpreadOf(answers.duringNet), after = SpreadOf(answers.after);
    within += net.worst <= 10.0 ? 1 : 0;
    std::printf(
        "  run %d: while NET starts and runs: %4zu answers, median %5.2f ms, 99th percentile "
        "%5.2f ms, worst %5.2f ms; then %zu answers up to the completion message, worst %5.2f ms\n",
        run, answers.duringNet.size(), net.median, net.p99, net.worst, answers.after.size(),
        after.worst);
  }
  std::printf("  worst answer while NET starts and runs <= 10 ms in %d of %d runs\n", within, runs);
  return 0;
}

// A hidden window on the calling thread whose answers a second thread times.
class Prober {
 public:
  Prober() {
    window_ =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    thread_ = CreateThread(nullptr, 0, &Prober::Run, this, 0, nullptr);
  }
  ~Prober() {
    stop_ = true;
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    DestroyWindow(window_);
  }
  // The worst answer to a message that was waiting for one at some time
  // between from and to.
  double WorstBetween(Clock::time_point from, Clock::time_point to) {
    double worst = 0;
    EnterCriticalSection(&lock_);
    for (const auto& [sent, ms] : answers_) {
      const auto answered = sent + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double, std::milli>(ms));
      if (sent <= to && answered >= from) worst = std::max(worst, ms);
    }
    LeaveCriticalSection(&lock_);
    return worst;
  }

 private:
  static DWORD WINAPI Run(void* self) {
    auto* prober = static_cast<Prober*>(self);
    while (!prober->stop_) {
      const auto sent = Clock::now();
      DWORD_PTR result = 0;
      SendMessageTimeoutA(prober->window_, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result);
      const double ms = MsSince(sent);
      EnterCriticalSection(&prober->lock_);
      prober->answers_.emplace_back(sent, ms);
      LeaveCriticalSection(&prober->lock_);
      Sleep(1);
    }
    return 0;
  }
  struct Lock {
    CRITICAL_SECTION section;
    Lock() { InitializeCriticalSection(&section); }
    ~Lock() { DeleteCriticalSection(&section); }
  } lockOwner_;
  CRITICAL_SECTION& lock_ = lockOwner_.section;
  HWND window_ = nullptr;
  HANDLE thread_ = nullptr;
  volatile bool stop_ = false;
  std::vector<std::pair<Clock::time_point, double>> answers_;
};

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// Answers messages at once for a while, as an idle window does.
void PumpFor(double ms) {
  const auto start = Clock::now();
  while (MsSince(start) < ms) {
    MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    Pump();
  }
}

// Waits for a process while answering messages, then closes it.
void WaitPumping(HANDLE process) {
  while (MsgWaitForMultipleObjectsEx(1, &process, 10000, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
         WAIT_OBJECT_0 + 1) {
    Pump();
  }
  CloseHandle(process);
}

// How long starting the system's net.exe keeps the starting thread from
// answering its window: the shell's call made directly on that thread (the
// baseline), against the command runner's start.
int StartBlockBench(int starts) {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, sizeof system);
  const std::string net = std::string(system) + "\\net.exe";
  Prober prober;
  qv::Win32ProcessRunner runner;
  PumpFor(100);
  std::vector<double> callMs, directBlocked, runnerMs, runnerBlocked;
  for (int i = 0; i < starts; ++i) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = net.c_str();
    info.lpParameters = "HELP";
    info.nShow = SW_HIDE;
    auto from = Clock::now();
    const BOOL started = ShellExecuteExA(&info);
    auto to = Clock::now();

    callMs.push_back(std::chrono::duration<double, std::milli>(to - from).count());
    PumpFor(30);
    directBlocked.push_back(prober.WorstBetween(from, to));
    if (started && info.hProcess) WaitPumping(info.hProcess);

    qv::ProcessHandle process = 0;
    std::uint32_t error = 0;
    from = Clock::now();
    const bool ok = runner.StartHidden(net, "HELP", &process, &error, Pump);
    to = Clock::now();
    runnerMs.push_back(std::chrono::duration<double, std::milli>(to - from).count());
    PumpFor(30);
    runnerBlocked.push_back(prober.WorstBetween(from, to));
    if (ok && process) WaitPumping(reinterpret_cast<HANDLE>(process));
    PumpFor(50);
  }
  const Spread call = SpreadOf(callMs), direct = SpreadOf(directBlocked),
               start = SpreadOf(runnerMs), runnerSpread = SpreadOf(runnerBlocked);
  std::printf("starting the system's net.exe, %d starts each\n", starts);
  std::printf("  ShellExecuteExA on the thread: the call takes median %6.2f ms, worst %6.2f ms;\n",
              call.median, call.worst);
  std::printf("    the thread answers its window after median %6.2f ms, worst %6.2f ms\n",
              direct.median, direct.worst);
  std::printf("  the command runner's start:    the start takes median %6.2f ms, worst %6.2f ms;\n",
              start.median, start.worst);
  std::printf("    the thread answers its window after median %6.2f ms, worst %6.2f ms\n",
              runnerSpread.median, runnerSpread.worst);
  std::printf("  worst answer, runner against the direct call: %.3f\n",
              direct.worst > 0 ? runnerSpread.worst / direct.worst : 0.0);

  // For comparison: a message box coming up, as the completion message does.
  std::vector<double> boxBlocked;
  for (int i = 0; i < 5; ++i) {
    struct Shown {
      Clock::time_point at;
    } shown{Clock::now()};
    HANDLE closer = CreateThread(
        nullptr, 0,
        [](void* param) -> DWORD {
          auto* seen = static_cast<Shown*>(param);
          for (int waited = 0; waited < 10000; ++waited) {
            HWND box = FindWindowA("#32770", "qv bench box");
            if (box && IsWindowVisible(box)) {
              seen->at = Clock::now();
              PostMessageA(box, WM_COMMAND, IDOK, 0);
              return 0;
            }
            Sleep(1);
          }
          return 1;
        },
        &shown, 0, nullptr);
    const auto from = Clock::now();
    MessageBoxA(nullptr, "Processes complete.", "qv bench box", MB_OK);
    WaitForSingleObject(closer, 10000);
    CloseHandle(closer);
    PumpFor(30);
    boxBlocked.push_back(prober.WorstBetween(from, shown.at));
  }
  const Spread box = SpreadOf(boxBlocked);
  std::printf(
      "  a message box coming up: the thread answers after median %6.2f ms, worst %6.2f ms\n",
      box.median, box.worst);
  return 0;
}

// The two list refreshes through the real buttons, for the queues present.
int ListsBench(const std::string& tool, int printers) {
  Process process;
  if (!Start(tool, process)) return 1;
  const auto start = Clock::now();
  HWND main = nullptr;
  while (!(main = ToolReady(process.info.dwProcessId))) {
    if (MsSince(start) > 60000) {
      std::printf("lists: the tool did not come up\n");
      return 1;
    }
    Sleep(5);
  }
  HWND query = FindChild(main, "Button", "Query New Printers");
  HWND monitored = FindChild(main, "Button", "Query Printers Monitored");
  HWND combo = FindChild(main, "ComboBox");
  std::vector<double> times;
  for (int i = 0; i < 21; ++i) {
    const auto t = Clock::now();
    SendMessageA(query, BM_CLICK, 0, 0);
    SendMessageA(monitored, BM_CLICK, 0, 0);
    times.push_back(MsSince(t));
  }
  const long listed = static_cast<long>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  CloseAndWait(main, process);
  const double median = Median(times);
  // Printers the tool has pointed at the PDF port are no longer Wine's
  // CUPS queues and stay listed beside them.
  std::printf("  %d CUPS queues (%ld printers listed): both refreshes %.2f ms, per printer %.4f\n",
              printers, listed, median, median / std::max(1L, listed));
  return listed >= printers ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "startup" && argc >= 4) {
    return StartupBench(argv[2], argv[3], argc > 4 ? std::max(10, std::atoi(argv[4])) : 10);
  }
  if (mode == "respond" && argc >= 4) {
    return RespondBench(argv[2], argv[3], argc > 4 ? std::max(1, std::atoi(argv[4])) : 5);
  }
  if (mode == "startblock") return StartBlockBench(argc > 2 ? std::max(1, std::atoi(argv[2])) : 20);
  if (mode == "lists" && argc >= 4) return ListsBench(argv[2], std::atoi(argv[3]));
  std::printf(
      "usage: wine_bench startup TOOL BARE [PAIRS] | respond TOOL LABEL [RUNS] | startblock "
      "[STARTS] | lists TOOL N\n");
  return 2;
}
