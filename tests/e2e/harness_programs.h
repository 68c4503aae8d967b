// The programs under test as processes: the tool, found by its windows,
// and the prefix's console programs with their output; and the files of
// the scenario's world.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "harness_windows.h"

namespace e2e {

// The program under test, started with CreateProcess and ended (if still
// running) when this object goes.
class Tool {
 public:
  // QV_TOOL names the program; showCommand is the start-up show command.
  static Tool Start(int showCommand = SW_SHOWNORMAL);
  // The program at another path (a copy in a folder of its own), started
  // in folder when one is given.
  static Tool Start(const std::string& exe, int showCommand = SW_SHOWNORMAL,
                    const std::string& folder = "");
  // The program at a path the code page may not hold.
  static Tool Start(const std::wstring& exe);
  Tool(Tool&& other) noexcept;
  Tool& operator=(Tool&&) = delete;
  ~Tool();

  DWORD ProcessId() const { return pid_; }
  HANDLE Process() const { return process_; }
  bool Running() const;
  // Waits for the program to end; true when it has, with its exit code.
  bool WaitExit(Timeout timeout = kDefaultTimeout, DWORD* exitCode = nullptr) const;

  // The program's top-level windows (visible ones only, unless asked).
  std::vector<Window> TopLevelWindows(bool visibleOnly = true) const;
  // Waits for a visible top-level window with this caption (and class,
  // when given). Fails the test and returns an empty window on time-out.
  Window WaitWindow(const std::string& caption, const std::string& className = "",
                    Timeout timeout = kDefaultTimeout) const;
  Window WaitMainWindow(Timeout timeout = kDefaultTimeout) const;
  MessageBoxWindow WaitMessageBox(Timeout timeout = kDefaultTimeout) const;
  // Waits for a message box and checks what it shows; fails the test and
  // returns an empty box when none comes. Failures name the calling line.
  MessageBoxWindow ExpectMessageBox(const ExpectedBox& expected, Timeout timeout = kDefaultTimeout,
                                    const char* file = __builtin_FILE(),
                                    int line = __builtin_LINE()) const;
  // The same, then presses the button and waits until the box has gone.
  void AnswerMessageBox(const ExpectedBox& expected, const std::string& button = "OK",
                        Timeout timeout = kDefaultTimeout, const char* file = __builtin_FILE(),
                        int line = __builtin_LINE()) const;
  FileDialogWindow WaitFileDialog(Timeout timeout = kDefaultTimeout) const;
  // The control that has the keyboard focus in the program's window.
  Window FocusedControl() const;
  // A visible message box or dialog right now, or an empty one.
  MessageBoxWindow FindMessageBox() const;
  // The single-line input dialog (the printer name), by its caption.
  InputDialogWindow WaitInputDialog(const std::string& caption,
                                    Timeout timeout = kDefaultTimeout) const;
  // Every window of the program, top-level and child, shown or hidden.
  size_t CountAllWindows() const;
  // Whether a program the tool started, with this file name, runs now.
  bool ChildRunning(const std::string& exeName) const;

 private:
  Tool(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// Runs a console program of the prefix; its exit code, and its output
// when asked: standard output and error together, or apart when errors is
// given too. A command line in UTF-16 reaches the program as it is, also
// where the code page cannot hold it.
int RunProgram(const std::string& commandLine, std::string* output = nullptr,
               std::string* errors = nullptr);
int RunProgram(const std::wstring& commandLine, std::string* output = nullptr,
               std::string* errors = nullptr);

// The tool's own folder, trailing backslash included (from QV_TOOL).
std::string ToolFolder();
// Puts the slow stand-in program (QV_SLOW_PROGRAM) in place of the
// system's net.exe, in this scenario's own prefix.
void ReplaceSystemNet();
// Copies a file; fails the test when it cannot.
void CopyFileOrFail(const std::string& from, const std::string& to);
// Creates an empty file, creating its folders first.
void CreateEmptyFile(const std::string& path);

// A world of the scenario's own making.
// Ghostscript's two files under C:\gs\gs8.50\bin, recorded in the tool's
// settings, so that the start-up search finds them without asking.
void PlantGhostscript();
constexpr const char* kGsExe = "C:\\gs\\gs8.50\\bin\\gswin32c.exe";
constexpr const char* kGsDll = "C:\\gs\\gs8.50\\bin\\gsdll32.dll";

}  // namespace e2e
