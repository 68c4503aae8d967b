// The input dialog: a prompt above a one-line edit, "OK" and "Cancel",
// measured in dialog units of the main window's font.
#include <windows.h>

#include "ui/win32/modal_window.h"
#include "ui/win32/screen.h"
#include "ui/win32/win_dialogs.h"

namespace qv {
namespace {

constexpr int kPromptId = 100;
constexpr int kEditId = 101;
constexpr int kMaxLength = 255;

// "MS Sans Serif" 8 pt, the main window's font, at the screen's DPI.
win32::UniqueFont DialogFont() {
  return win32::UniqueFont(CreateFontA(-MulDiv(8, win32::ScreenDpi(), 72), 0, 0, 0, FW_NORMAL,
                                       FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
}

}  // namespace

bool Win32Dialogs::InputQuery(const std::string& caption, const std::string& prompt,
                              std::string& value) {
  const win32::UniqueFont font = DialogFont();
  const SIZE unit = FontUnits(font.get());
  RECT promptRect =
      TextRect(font.get(), prompt, MulDiv(164, unit.cx, 4), DT_WORDBREAK | DT_NOPREFIX);
  // A one-line edit: the text height plus room for its sunken border.
  const int editHeight = unit.cy + unit.cy / 4 + 4 * GetSystemMetrics(SM_CYBORDER);
  const int left = MulDiv(8, unit.cx, 4);
  OffsetRect(&promptRect, left, MulDiv(8, unit.cy, 8));
  const int editTop = promptRect.bottom + 5;
  const RECT editRect{left, editTop, left + MulDiv(164, unit.cx, 4), editTop + editHeight};
  const int buttonTop = editRect.bottom + 15;
  const int buttonWidth = MulDiv(50, unit.cx, 4);
  const int buttonBottom = buttonTop + MulDiv(14, unit.cy, 8);
  const int okLeft = MulDiv(38, unit.cx, 4);
  const int cancelLeft = MulDiv(92, unit.cx, 4);

  ModalWindow dialog(instance_, *this, "QvInputDialog", font.get());
  dialog.onMessage = [](UINT message, LRESULT& result) {
    if (message != DM_GETDEFID) return false;
    result = MAKELRESULT(IDOK, DC_HASDEFID);
    return true;
  };
  if (!dialog.Create(caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                     MulDiv(180, unit.cx, 4), buttonBottom + 13, owner_)) {
    return false;
  }
  dialog.AddControl({0, "STATIC", prompt.c_str(), SS_LEFT | SS_NOPREFIX, promptRect, kPromptId});
  const HWND edit = dialog.AddControl(
      {WS_EX_CLIENTEDGE, "EDIT", value.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, editRect, kEditId});
  dialog.AddControl({0, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON,
                     RECT{okLeft, buttonTop, okLeft + buttonWidth, buttonBottom}, IDOK});
  dialog.AddControl({0, "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON,
                     RECT{cancelLeft, buttonTop, cancelLeft + buttonWidth, buttonBottom},
                     IDCANCEL});
  SendMessageA(edit, EM_LIMITTEXT, kMaxLength, 0);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  if (!dialog.RunModal(edit)) return false;
  value = win32::WindowText(edit);
  return true;
}

}  // namespace qv
