// The input dialog: a prompt above a one-line edit, "OK" and "Cancel",
// measured in dialog units of the main window's font at the window's DPI.
#include <windows.h>

#include "ui/win32/modal_window.h"
#include "ui/win32/screen.h"
#include "ui/win32/win_dialogs.h"

namespace qv {
namespace {

constexpr int kPromptId = 100;
constexpr int kEditId = 101;
constexpr int kMaxLength = 255;

// "MS Sans Serif" 8 pt, the main window's font, at dpi; above 96 DPI its
// TrueType design.
win32::UniqueFont DialogFont(int dpi) {
  return MakeFont(FontSpec{-MulDiv(8, dpi, 72), false, false, false, DialogFace(dpi)});
}

ModalWindow::Layout LayOut(const std::string& prompt, int dpi) {
  win32::UniqueFont font = DialogFont(dpi);
  const SIZE unit = FontUnits(font.get());
  RECT promptRect =
      TextRect(font.get(), prompt, MulDiv(164, unit.cx, 4), DT_WORDBREAK | DT_NOPREFIX);
  // A one-line edit: the text height plus room for its sunken border.
  const int editHeight = unit.cy + unit.cy / 4 + 4 * GetSystemMetrics(SM_CYBORDER);
  const int left = MulDiv(8, unit.cx, 4);
  OffsetRect(&promptRect, left, MulDiv(8, unit.cy, 8));
  const int editTop = promptRect.bottom + win32::Scale(5, dpi);
  const RECT editRect{left, editTop, left + MulDiv(164, unit.cx, 4), editTop + editHeight};
  const int buttonTop = editRect.bottom + win32::Scale(15, dpi);
  const int buttonWidth = MulDiv(50, unit.cx, 4);
  const int buttonBottom = buttonTop + MulDiv(14, unit.cy, 8);
  const int okLeft = MulDiv(38, unit.cx, 4);
  const int cancelLeft = MulDiv(92, unit.cx, 4);
  return ModalWindow::Layout{
      std::move(font),
      SIZE{MulDiv(180, unit.cx, 4), buttonBottom + win32::Scale(13, dpi)},
      {{kPromptId, promptRect},
       {kEditId, editRect},
       {IDOK, RECT{okLeft, buttonTop, okLeft + buttonWidth, buttonBottom}},
       {IDCANCEL, RECT{cancelLeft, buttonTop, cancelLeft + buttonWidth, buttonBottom}}}};
}

}  // namespace

bool Win32Dialogs::InputQuery(const std::string& caption, const std::string& prompt,
                              std::string& value) {
  ModalWindow::Layout layout = LayOut(prompt, win32::ScreenDpi());
  const auto rect = [&layout](int id) {
    for (const auto& [controlId, r] : layout.controls) {
      if (controlId == id) return r;
    }
    return RECT{};
  };
  ModalWindow dialog(instance_, *this, "QvInputDialog", std::move(layout.font));
  dialog.onMessage = [](UINT message, LRESULT& result) {
    if (message != DM_GETDEFID) return false;
    result = MAKELRESULT(IDOK, DC_HASDEFID);
    return true;
  };
  dialog.layOutAt = [&prompt](int dpi) { return LayOut(prompt, dpi); };
  if (!dialog.Create(caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                     layout.client.cx, layout.client.cy, owner_)) {
    return false;
  }
  dialog.AddControl(
      {0, "STATIC", prompt.c_str(), SS_LEFT | SS_NOPREFIX, rect(kPromptId), kPromptId});
  const HWND edit = dialog.AddControl({WS_EX_CLIENTEDGE, "EDIT", value.c_str(),
                                       WS_TABSTOP | ES_AUTOHSCROLL, rect(kEditId), kEditId});
  dialog.AddControl({0, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, rect(IDOK), IDOK});
  dialog.AddControl({0, "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, rect(IDCANCEL), IDCANCEL});
  SendMessageA(edit, EM_LIMITTEXT, kMaxLength, 0);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  if (!dialog.RunModal(edit)) return false;
  value = win32::WindowText(edit);
  return true;
}

}  // namespace qv
