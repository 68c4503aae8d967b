// The base of the program's own modal windows, the input dialog and the
// simple message window: a window of the window base that ends with OK,
// Cancel (Esc) or the close box, and the modal loop with every other
// window of the program disabled. It lays itself out again when its DPI
// changes.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/win32/gui_util.h"
#include "ui/win32/window_base.h"

namespace qv {

// A child control of a modal window, at rect in its client area.
struct ChildControl {
  DWORD exStyle;
  const char* className;
  const char* text;
  DWORD style;  // added to WS_CHILD | WS_VISIBLE
  RECT rect;
  int id;
};

class ModalWindow : public WindowBase {
 public:
  // errors: where an exception inside the window's procedure is shown;
  // font: the font of every control.
  ModalWindow(HINSTANCE instance, IDialogs& errors, const char* className, win32::UniqueFont font);
  ~ModalWindow() override;

  // Creates the window hidden, centred on the screen, with this client
  // size; false when the system refuses.
  bool Create(const char* caption, DWORD style, int clientWidth, int clientHeight, HWND owner);
  // A child control in the window's font.
  HWND AddControl(const ChildControl& control);
  // Shows the window with the keyboard focus on focus and takes messages
  // until it ends; preTranslate may take a message first. True for OK.
  bool RunModal(HWND focus, const std::function<bool(const MSG&)>& preTranslate = nullptr);

  // After the window has taken the rectangle the system suggests for a
  // new DPI: the controls' rectangles at that DPI, and the client size.
  struct Layout {
    win32::UniqueFont font;
    SIZE client;
    std::vector<std::pair<int, RECT>> controls;  // by identifier
  };
  std::function<Layout(int dpi)> layOutAt;

  // A message of the window's own, before the shared handling: true when
  // handled, with its result.
  std::function<bool(UINT message, LRESULT& result)> onMessage;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void ChangeDpi(int dpi);

  win32::UniqueFont font_;
  HWND previousActive_ = nullptr;
  bool done_ = false;
  bool accepted_ = false;
};

// The dialog base units of font (see win32::DialogBaseUnits).
SIZE FontUnits(HFONT font);
// The rectangle of text drawn in font from (0, 0), wrapped at width, with
// these DrawText flags.
RECT TextRect(HFONT font, const std::string& text, int width, UINT format);

}  // namespace qv
