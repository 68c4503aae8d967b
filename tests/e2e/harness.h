// Drives the real program from outside, as a person would: finds its
// windows by process, waits for them, reads their controls, presses
// buttons and answers message boxes. Registry values are read back with
// the system's own reg.exe, an independent reader.
//
//   e2e::Tool tool = e2e::Tool::Start();
//   e2e::MessageBoxWindow box = tool.WaitMessageBox();
//   EXPECT_EQ(box.Text(), "...");
//   box.Press("OK");
//   e2e::Window main = tool.WaitMainWindow();
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Timeout = std::chrono::milliseconds;
constexpr Timeout kDefaultTimeout = 15s;

// A window of the program under test. Reading works across processes:
// texts through WM_GETTEXT, list items through the wide messages.
class Window {
 public:
  Window() = default;
  explicit Window(HWND hwnd) : hwnd_(hwnd) {}
  HWND Handle() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

  std::string Text() const;
  std::string ClassName() const;
  LONG Style() const;
  bool Visible() const;
  bool Enabled() const;
  bool Minimized() const;
  int Id() const;
  // Outer rectangle in screen coordinates, and relative to the parent's
  // client area (a top-level window's parent is the screen).
  RECT ScreenRect() const;
  RECT RectInParent() const;
  SIZE ClientSize() const;
  // The colour on screen at a point of the client area.
  COLORREF ClientPixel(int x, int y) const;

  // A child control by identifier, or by its text (any class when empty).
  Window Control(int id) const;
  Window ChildByText(const std::string& text, const std::string& className = "") const;

  // List box or drop-down list contents and selection.
  std::vector<std::string> Items() const;
  int SelectedIndex() const;
  // Selects an item of a list box or drop-down list.
  void SelectItem(int index) const;
  bool Checked() const;

  // A click as a person makes it; fails the test when the button is
  // disabled or hidden. Posted, so a modal box the click opens does not
  // block the harness.
  void Press() const;
  // A left click at the control's top-left corner, and a key press with
  // the keyboard focus on this window.
  void Click() const;
  void Key(WORD virtualKey) const;
  // Replaces an edit's text.
  void SetText(const std::string& text) const;
  // Asks the window to close, as the system does from outside (WM_CLOSE);
  // unlike the close box, this reaches a window that a modal box disables.
  void RequestClose() const;
  // The title bar's commands: SC_CLOSE (the close box), SC_MINIMIZE, ...
  void SystemCommand(WPARAM command) const;

 protected:
  HWND hwnd_ = nullptr;
};

// A standard message box (class "#32770" with a text control 0xFFFF).
class MessageBoxWindow : public Window {
 public:
  MessageBoxWindow() = default;
  explicit MessageBoxWindow(HWND hwnd) : Window(hwnd) {}
  std::string Caption() const { return Window::Text(); }
  std::string Text() const;
  std::vector<std::string> Buttons() const;
  // Presses the button with this caption ("OK", "Yes", "No"; any '&' in
  // the caption is ignored).
  void Press(const std::string& button) const;
  // The icon's main colour: "red" for the error icon, "blue" for the
  // question and information icons, "yellow" for the warning, "" for none.
  std::string IconColour() const;
};

// A file open or save dialog: types a path into the file name and confirms.
class FileDialogWindow : public Window {
 public:
  FileDialogWindow() = default;
  explicit FileDialogWindow(HWND hwnd) : Window(hwnd) {}
  void Choose(const std::string& path) const;
  void Cancel() const;
};

// The tool's input dialog: a prompt, one edit, OK and Cancel.
class InputDialogWindow : public Window {
 public:
  InputDialogWindow() = default;
  explicit InputDialogWindow(HWND hwnd) : Window(hwnd) {}
  std::string Prompt() const;
  std::string Value() const;
  // Replaces the edit's text, then presses OK.
  void Accept(const std::string& value) const;
  void AcceptAsIs() const;
  void Cancel() const;
};

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

// Waits until condition() holds; false on time-out.
template <typename Condition>
bool WaitFor(Condition condition, Timeout timeout = kDefaultTimeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    Sleep(50);
  }
  return true;
}

// The registry through reg.exe, in the 32-bit view the package uses.
struct RegValue {
  bool found = false;
  std::string type;  // "REG_SZ", "REG_DWORD", ...
  std::string data;  // as reg prints it: text, or "0x5" for a DWORD
};
RegValue RegQuery(const std::string& key, const std::string& name);
// Every value of a key as reg.exe prints it (empty when the key is
// missing), and the values parsed from that listing.
std::string RegQueryKeyText(const std::string& key);
std::vector<std::pair<std::string, RegValue>> RegQueryKey(const std::string& key);
void RegAdd(const std::string& key, const std::string& name, const std::string& type,
            const std::string& data);

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
constexpr const char* kSettingsKey = "HKLM\\SOFTWARE\\Hollisfield\\Quorvin PDF\\1.01";

// Saves the screen, or only the given window, as a BMP in the scenario's
// folder (QV_SHOTS) and returns its path; the scenario script turns it
// into a PNG. Without QV_SHOTS nothing is written and the path is empty.
std::string SaveScreenshot(const std::string& name, const Window& only = Window());

}  // namespace e2e
