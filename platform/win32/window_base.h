// The thin window toolkit every top-level window of ours is built on: a
// registered window class and a base with one HandleMessage per window.
#pragma once

#include "platform/win32/win_dialogs.h"

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

// The base of our top-level windows: one HandleMessage per window, with
// every exception stopped at the window procedure and shown by the error
// display.
class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  HWND Handle() const { return hwnd_; }

  // The window procedure of every class built on this base.
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  explicit WindowBase(IDialogs& dialogs) : errorDialogs_(dialogs) {}
  // Destroys the window if it still exists; messages it receives from
  // here on go to the default procedure.
  virtual ~WindowBase();
  void Destroy();

  // Creates the window; lpParam carries this object to the procedure.
  HWND CreateBase(DWORD exStyle, const char* className, const char* caption, DWORD style, int x,
                  int y, int width, int height, HWND owner, HINSTANCE instance);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // WM_ACTIVATE as a dialog handles it: the control that had the keyboard
  // focus gets it back, or the first in the tab order.
  void KeepFocusOnActivate(WPARAM wParam);

  HWND hwnd_ = nullptr;

 private:
  IDialogs& errorDialogs_;
  HWND lastFocus_ = nullptr;
};

}  // namespace qv
