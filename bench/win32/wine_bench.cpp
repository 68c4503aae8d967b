// Benchmarks of the real program under Wine, driven from outside:
//   startup TOOL BARE PAIRS  time from process start to the main window shown
//                            with lists and options filled, against a bare
//                            window program, in alternating pairs
//   respond TOOL             while the tool waits on a 3 s external program,
//                            how long its window takes to answer a message
//                            sent every 5 ms
//   lists TOOL N             both printer list refreshes with N queues
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

int RespondBench(const std::string& tool) {
  Process process;
  if (!Start(tool, process)) return 1;
  const auto start = Clock::now();
  HWND main = nullptr;
  while (!(main = ToolReady(process.info.dwProcessId))) {
    if (MsSince(start) > 30000) {
      std::printf("respond: the tool did not come up\n");
      return 1;
    }
    Sleep(5);
  }
  // "Add" on the selected printer; NET is a 3 s stand-in beside the tool.
  PressButton(main, "Add");
  HWND ask = WaitMessageBox(process.info.dwProcessId, "Continue?", 10000);
  if (!ask) {
    std::printf("respond: no confirmation came up\n");
    return 1;
  }
  PressButton(ask, "&Yes");
  PressButton(ask, "Yes");
  // The stand-in NET runs 4 s. Starting it blocks the window for the
  // shell's own call; the wait that follows is measured for 3 s, then the
  // second start is measured on its own.
  Sleep(300);
  std::vector<double> answers, startAnswers;
  const auto measureStart = Clock::now();
  while (MsSince(measureStart) < 5000) {
    const auto sent = Clock::now();
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result);
    const double ms = answered ? MsSince(sent) : 1000;
    const double at = std::chrono::duration<double, std::milli>(sent - measureStart).count();
    (at < 3000 ? answers : startAnswers).push_back(ms);
    if (ms > 5 && std::getenv("QV_BENCH_VERBOSE")) {
      std::printf("  slow answer %.2f ms at %.0f ms\n", ms, at);
    }
    Sleep(5);
  }
  HWND done = WaitMessageBox(process.info.dwProcessId, "Processes Complete", 20000);
  if (done) PressButton(done, "OK");
  Sleep(200);
  CloseAndWait(main, process);
  std::sort(answers.begin(), answers.end());
  const double p99 = answers[std::min(answers.size() - 1, answers.size() * 99 / 100)];
  std::sort(startAnswers.begin(), startAnswers.end());
  std::printf("responsiveness while waiting on an external program (3 s, a message every 5 ms)\n");
  std::printf(
      "  %zu messages: max %6.2f ms, 99th percentile %6.2f ms, median %6.2f ms "
      "(target <= 10 ms)\n",
      answers.size(), answers.back(), p99, answers[answers.size() / 2]);
  if (!startAnswers.empty()) {
    std::printf("  across the start of the next program (2 s, %zu messages): max %6.2f ms\n",
                startAnswers.size(), startAnswers.back());
  }
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
  if (mode == "respond" && argc >= 3) return RespondBench(argv[2]);
  if (mode == "lists" && argc >= 4) return ListsBench(argv[2], std::atoi(argv[3]));
  std::printf("usage: wine_bench startup TOOL BARE [PAIRS] | respond TOOL | lists TOOL N\n");
  return 2;
}
