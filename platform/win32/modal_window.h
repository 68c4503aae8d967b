// The base of the program's own modal windows, the input dialog and the
// simple message window: a window class of its own while one is open, a
// procedure that ends the window with OK, Cancel (Esc) or the close box and
// stops every exception, and the modal loop with every other window of the
// program disabled.
#pragma once

#include <functional>

#include "platform/win32/win_util.h"
#include "platform/win32/window_base.h"

namespace qv {

class ModalWindow {
 public:
  ModalWindow(const ModalWindow&) = delete;
  ModalWindow& operator=(const ModalWindow&) = delete;

 protected:
  // errors: where an exception inside the window's procedure is shown.
  ModalWindow(HINSTANCE instance, IDialogs& errors, const char* className);
  virtual ~ModalWindow();

  // Creates the window hidden, centred on the screen, with this client
  // size; false when the system refuses.
  bool Create(const char* caption, DWORD style, int clientWidth, int clientHeight, HWND owner);
  // A child control at r, in font.
  HWND AddControl(DWORD exStyle, const char* className, const char* text, DWORD style,
                  const RECT& r, int id, HFONT font);
  // Shows the window with the keyboard focus on focus and takes messages
  // until it ends; preTranslate may take a message first. True for OK.
  bool RunModal(HWND focus, const std::function<bool(const MSG&)>& preTranslate = nullptr);
  // A message of the window's own, before the shared handling: true when
  // handled, with its result.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  HWND Handle() const { return window_.get(); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept;

  HINSTANCE instance_;
  IDialogs& errors_;
  WindowClass class_;
  HWND previousActive_ = nullptr;
  bool done_ = false;
  bool accepted_ = false;
  win32::UniqueWindow window_;
};

}  // namespace qv
