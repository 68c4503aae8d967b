// The standard dialogs: message boxes, the simple message window, the input
// dialog and the file open and save dialogs.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace qv {

// Message box flags and answers as Windows defines them.
enum : unsigned {
  kMbOk = 0x0,
  kMbYesNo = 0x4,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconExclamation = 0x30,
  kMbIconInformation = 0x40,
  kMbTypeMask = 0xF,  // the buttons (MB_TYPEMASK)
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// A file dialog's properties. FileName is both the initial name and, after
// a confirmed choice, the chosen full path; it keeps the last accepted
// choice for the next opening.
struct FileDialog {
  std::string defaultExt;  // without the dot, as the system expects
  std::string fileName;
  std::string filter;  // "Description|pattern|..."
  std::string initialDir;
  std::string title;
  // Close-query event: runs when the user confirms a file, with fileName
  // already set to the chosen path and canClose true. A registry, printer
  // or system error raised here is shown and the dialog closes as accepted.
  std::function<void(FileDialog& dialog, bool& canClose)> onCanClose;
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // MessageBox owned by the application window; returns the button pressed.
  virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
  // The program's own modal message window with the application title as
  // caption and one "OK" button.
  virtual void ShowMessage(const std::string& text) = 0;
  // One-line input dialog. True and the edited text only for OK; otherwise
  // false and value unchanged.
  virtual bool InputQuery(const std::string& caption, const std::string& prompt,
                          std::string& value) = 0;
  // Explorer-style open and save dialogs; true when a file was confirmed.
  virtual bool ExecuteOpen(FileDialog& dialog) = 0;
  virtual bool ExecuteSave(FileDialog& dialog) = 0;
};

// The error display: the error's text (period rule applied) in a message
// box with the application title as caption and the error icon. Never
// throws; used wherever an error must stop before it reaches Windows.
void ShowException(IDialogs& dialogs, const std::exception& error) noexcept;

// The filter as the system dialogs take it: each '|' becomes a NUL, and the
// whole ends in two NULs.
std::string FilterForSystem(const std::string& filter);
// The initial folder as passed to the system dialog: a trailing backslash is
// removed unless it follows a colon ("C:\").
std::string InitialDirForSystem(const std::string& folder);

// Screen rectangles and points, in pixels.
struct ScreenRect {
  int left, top, right, bottom;
};
struct ScreenPoint {
  int x, y;
};
// Where a file dialog of the given outer size goes on a monitor (its full
// rectangle): centred across, its top at one third of the height the
// dialog leaves free; a dialog larger than the monitor starts at its edge.
ScreenPoint FileDialogPosition(const ScreenRect& monitor, int width, int height);

}  // namespace qv
