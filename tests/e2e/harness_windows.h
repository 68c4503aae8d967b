// The windows of the program under test, read and driven from outside as a
// person would: texts, controls, message boxes and dialogs.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Timeout = std::chrono::milliseconds;
constexpr Timeout kDefaultTimeout = 15s;

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

// What a message box must show: its caption, and its text, icon colour
// (see IconColour) and buttons where given. An empty text or button list
// is not checked.
struct ExpectedBox {
  std::string caption;
  std::string text = {};
  std::optional<std::string> icon = {};
  std::vector<std::string> buttons = {};
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
  // Presses it and waits until the box has gone; fails the test when the
  // box stays. Does nothing for a box that never came.
  void Answer(const std::string& button = "OK") const;
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

// Saves the screen, or only the given window, as a BMP in the scenario's
// folder (QV_SHOTS) and returns its path; the scenario script turns it
// into a PNG. Without QV_SHOTS nothing is written and the path is empty.
std::string SaveScreenshot(const std::string& name, const Window& only = Window());

}  // namespace e2e
