// The simple message window: the application title as caption, the text
// word-wrapped in the system's message font, one "OK" button.
#include <windows.h>

#include <algorithm>

#include "platform/application.h"
#include "ui/win32/modal_window.h"
#include "ui/win32/win_dialogs.h"

namespace qv {
namespace {

constexpr int kTextId = 0xFFFF;  // as in a system message box

bool IsCopyKey(const MSG& msg) {
  return (msg.message == WM_KEYDOWN && msg.wParam == 'C' && GetKeyState(VK_CONTROL) < 0) ||
         (msg.message == WM_CHAR && msg.wParam == 3);  // Ctrl+C as a character
}

win32::UniqueFont MessageFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return win32::UniqueFont(CreateFontIndirectA(&metrics.lfMessageFont));
  }
  LOGFONTA fallback{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
  return win32::UniqueFont(CreateFontIndirectA(&fallback));
}

}  // namespace

void Win32Dialogs::ShowMessage(const std::string& text) {
  const win32::UniqueFont font = MessageFont();
  // Layout in dialog units of the message font; the text wraps at half the
  // screen width.
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

  ModalWindow window(instance_, *this, "QvMessageWindow", font.get());
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
  if (!window.Create(kApplicationTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, clientWidth,
                     gap + textHeight + gap + buttonHeight + gap, owner_)) {
    return;
  }
  window.AddControl({0, "STATIC", text.c_str(), SS_LEFT | SS_NOPREFIX,
                     RECT{margin, gap, margin + textWidth, gap + textHeight}, kTextId});
  const int buttonLeft = (clientWidth - buttonWidth) / 2;
  const int buttonTop = gap + textHeight + gap;
  const HWND button = window.AddControl(
      {0, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON,
       RECT{buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight}, IDOK});
  const HWND handle = window.Handle();
  window.RunModal(button, [handle](const MSG& msg) {
    if (!IsCopyKey(msg) || (msg.hwnd != handle && !IsChild(handle, msg.hwnd))) return false;
    SendMessageA(handle, WM_COPY, 0, 0);
    return true;
  });
}

}  // namespace qv
