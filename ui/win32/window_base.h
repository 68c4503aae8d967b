// The thin window toolkit every top-level window of ours is built on: a
// registered window class and a base with one HandleMessage per window.
#pragma once

#include "ui/win32/control_factory.h"
#include "ui/win32/win_dialogs.h"

namespace qv {

// A window class of ours: the arrow cursor, the button-face background,
// and the application icon (big and small) when icon asks for them.
enum class ClassIcon { None, SmallOnly, BigAndSmall };
WNDCLASSEXA ClassDescription(HINSTANCE instance, const char* name, WNDPROC procedure,
                             ClassIcon icon = ClassIcon::None);

// A registered window class, unregistered when its owner ends. A class of
// that name registered already (by another owner) is used as it is.
class WindowClass {
 public:
  WindowClass(HINSTANCE instance, const WNDCLASSEXA& description);
  ~WindowClass();
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  const char* Name() const { return name_; }

 private:
  HINSTANCE instance_;
  const char* name_;
  bool registered_;
};

// Where a top-level window is created: hidden, centred on the screen with
// this outer size, moved into the work area of its monitor where it would
// leave it.
struct CentredWindow {
  const char* caption;
  DWORD style;
  DWORD exStyle;
  int width, height;  // the outer size, in pixels
  HWND owner;
};

// The base of every window the program creates: a window class of its own
// and one HandleMessage per window, reached through the one window
// procedure, where every exception stops and is shown by the error
// display.
class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  HWND Handle() const { return hwnd_; }

 protected:
  WindowBase(HINSTANCE instance, IDialogs& dialogs, const char* className, ClassIcon icon);
  // Destroys the window if it still exists; messages it receives from
  // here on go to the default procedure.
  virtual ~WindowBase();
  void Destroy();

  // Creates the window; lpParam carries this object to the procedure.
  // False when the system refuses.
  bool CreateCentred(const CentredWindow& window);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // WM_ACTIVATE as a dialog handles it: the control that had the keyboard
  // focus gets it back, or the first in the tab order.
  void KeepFocusOnActivate(WPARAM wParam);

  // WM_CTLCOLORSTATIC for a control drawn in these system colours.
  static LRESULT StaticColours(WPARAM dc, COLORREF text, int background);

  HWND hwnd_ = nullptr;
  IDialogs& errorDialogs_;
  HINSTANCE instance_;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  WindowClass class_;
  HWND lastFocus_ = nullptr;
};

// A window whose controls come from a control table: the DPI it is laid
// out at, with the fonts and the application icon its controls show.
class TableWindow : public WindowBase {
 protected:
  TableWindow(HINSTANCE instance, IDialogs& dialogs, const char* className, ClassIcon icon,
              const std::vector<ControlEntry>& controls);

  // Creates the window as CreateCentred does; on a monitor whose DPI is
  // not the system's, the window then lays itself out for that monitor.
  bool CreateTable(const CentredWindow& window);
  // WM_CREATE: the table's controls at the window's DPI.
  void CreateTableControls();
  // WM_DPICHANGED: the window takes the rectangle the system suggests and
  // lays its controls out again at the new DPI, in fonts made for it.
  LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);

  int dpi_;
  FontSet fonts_;
  win32::UniqueIcon image_;  // what the window's Image control shows

 private:
  const std::vector<ControlEntry>& controls_;
};

}  // namespace qv
