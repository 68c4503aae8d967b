// The simple message window: the application title as caption, the text
// word-wrapped in the system's message font, one "OK" button.
#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/application.h"
#include "ui/win32/modal_window.h"
#include "ui/win32/screen.h"
#include "ui/win32/win_dialogs.h"

namespace qv {
namespace {

constexpr int kTextId = 0xFFFF;  // as in a system message box

bool IsCopyKey(const MSG& msg) {
  return (msg.message == WM_KEYDOWN && msg.wParam == 'C' && GetKeyState(VK_CONTROL) < 0) ||
         (msg.message == WM_CHAR && msg.wParam == 3);  // Ctrl+C as a character
}

// Layout in dialog units of the system's message font at dpi; the text
// wraps at half the screen width.
ModalWindow::Layout LayOut(const std::string& text, int dpi) {
  const LOGFONTA description = win32::MessageFontForDpi(dpi);
  win32::UniqueFont font(CreateFontIndirectA(&description));
  const SIZE unit = FontUnits(font.get());
  const RECT textRect = TextRect(font.get(), text, GetSystemMetrics(SM_CXSCREEN) / 2,
                                 DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  const int margin = MulDiv(8, unit.cx, 4);
  const int gap = MulDiv(8, unit.cy, 8);
  const int buttonWidth = MulDiv(50, unit.cx, 4);
  const int buttonHeight = MulDiv(14, unit.cy, 8);
  const int textWidth = textRect.right - textRect.left;
  const int textHeight = textRect.bottom - textRect.top;
  const int clientWidth = std::max(textWidth, buttonWidth) + 2 * margin;
  const int buttonLeft = (clientWidth - buttonWidth) / 2;
  const int buttonTop = gap + textHeight + gap;
  return ModalWindow::Layout{
      std::move(font),
      SIZE{clientWidth, buttonTop + buttonHeight + gap},
      {{kTextId, RECT{margin, gap, margin + textWidth, gap + textHeight}},
       {IDOK, RECT{buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight}}}};
}

}  // namespace

void Win32Dialogs::ShowMessage(const std::string& text) {
  ModalWindow::Layout layout = LayOut(text, win32::ScreenDpi());
  const RECT textRect = layout.controls[0].second, buttonRect = layout.controls[1].second;
  ModalWindow window(instance_, *this, "QvMessageWindow", std::move(layout.font));
  window.layOutAt = [&text](int dpi) { return LayOut(text, dpi); };
  // Ctrl+C: caption, text and button between lines of dashes, as a system
  // message box copies itself.
  window.onMessage = [&window, &text](UINT message, LRESULT& result) {
    if (message != WM_COPY) return false;
    const std::string rule = "---------------------------\r\n";
    win32::CopyTextToClipboard(window.Handle(), rule + kApplicationTitle + "\r\n" + rule + text +
                                                    "\r\n" + rule + "OK\r\n" + rule);
    result = 0;
    return true;
  };
  if (!window.Create(kApplicationTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, layout.client.cx,
                     layout.client.cy, owner_)) {
    return;
  }
  window.AddControl({0, "STATIC", text.c_str(), SS_LEFT | SS_NOPREFIX, textRect, kTextId});
  const HWND button =
      window.AddControl({0, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, buttonRect, IDOK});
  const HWND handle = window.Handle();
  window.RunModal(button, [handle](const MSG& msg) {
    if (!IsCopyKey(msg) || (msg.hwnd != handle && !IsChild(handle, msg.hwnd))) return false;
    SendMessageA(handle, WM_COPY, 0, 0);
    return true;
  });
}

}  // namespace qv
