// The simple message window: the application title as caption, the text
// word-wrapped in the system's message font, one "OK" button.
#include <windows.h>

#include <algorithm>

#include "platform/application.h"
#include "platform/win32/modal_window.h"
#include "platform/win32/win_dialogs.h"

namespace qv {
namespace {

constexpr int kTextId = 0xFFFF;  // as in a system message box

class MessageWindow : public ModalWindow {
 public:
  MessageWindow(HINSTANCE instance, IDialogs& errors, const std::string& text)
      : ModalWindow(instance, errors, "QvMessageWindow"), text_(text) {}
  using ModalWindow::AddControl;
  using ModalWindow::Create;
  using ModalWindow::Handle;
  using ModalWindow::RunModal;

 private:
  // Ctrl+C: caption, text and button between lines of dashes, as a system
  // message box copies itself.
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT* result) override {
    if (message != WM_COPY) return false;
    const std::string rule = "---------------------------\r\n";
    win32::CopyTextToClipboard(Handle(), rule + kApplicationTitle + "\r\n" + rule + text_ + "\r\n" +
                                             rule + "OK\r\n" + rule);
    *result = 0;
    return true;
  }
  std::string text_;
};

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
  RECT textRect{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  SIZE unit{};
  {
    const win32::WindowDc dc(nullptr);
    const win32::SelectedObject selected(dc.Get(), font.get());
    unit = win32::DialogBaseUnits(dc.Get());
    DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  }
  const int margin = MulDiv(8, unit.cx, 4);
  const int gap = MulDiv(8, unit.cy, 8);
  const int buttonWidth = MulDiv(50, unit.cx, 4);
  const int buttonHeight = MulDiv(14, unit.cy, 8);
  const int textWidth = textRect.right - textRect.left;
  const int textHeight = textRect.bottom - textRect.top;
  const int clientWidth = std::max(textWidth, buttonWidth) + 2 * margin;

  MessageWindow window(instance_, *this, text);
  if (!window.Create(kApplicationTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, clientWidth,
                     gap + textHeight + gap + buttonHeight + gap, owner_)) {
    return;
  }
  window.AddControl(0, "STATIC", text.c_str(), SS_LEFT | SS_NOPREFIX,
                    RECT{margin, gap, margin + textWidth, gap + textHeight}, kTextId, font.get());
  const int buttonLeft = (clientWidth - buttonWidth) / 2;
  const int buttonTop = gap + textHeight + gap;
  const HWND button = window.AddControl(
      0, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON,
      RECT{buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight}, IDOK,
      font.get());
  const HWND handle = window.Handle();
  window.RunModal(button, [handle](const MSG& msg) {
    if (!IsCopyKey(msg) || (msg.hwnd != handle && !IsChild(handle, msg.hwnd))) return false;
    SendMessageA(handle, WM_COPY, 0, 0);
    return true;
  });
}

}  // namespace qv
