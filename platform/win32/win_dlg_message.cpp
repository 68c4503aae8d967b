// The simple message window: the application title as caption, the text
// word-wrapped in the system's message font, one "OK" button.
#include <windows.h>

#include <algorithm>

#include "platform/application.h"
#include "platform/win32/screen.h"
#include "platform/win32/win_dialogs.h"
#include "platform/win32/win_util.h"

namespace qv {
namespace {

constexpr char kClassName[] = "QvMessageWindow";
constexpr int kTextId = 0xFFFF;  // as in a system message box

struct MessageState {
  IDialogs* dialogs;
  std::string text;
  bool done = false;
};

// Caption, text and button between lines of dashes, as a system message box
// copies itself.
std::string ClipboardText(const std::string& text) {
  const std::string rule = "---------------------------\r\n";
  return rule + kApplicationTitle + "\r\n" + rule + text + "\r\n" + rule + "OK\r\n" + rule;
}

LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept {
  auto* state = reinterpret_cast<MessageState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  try {
    switch (message) {
      case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
      }
      case WM_COMMAND:
        if (state && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) state->done = true;
        return 0;
      case WM_CLOSE:
        if (state) state->done = true;
        return 0;
      case WM_COPY:
        if (state) win32::CopyTextToClipboard(window, ClipboardText(state->text));
        return 0;
      default:
        break;
    }
  } catch (const std::exception& e) {
    if (state) ShowException(*state->dialogs, e);
  } catch (...) {
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

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
  win32::RegisterWindowClass(instance_, kClassName, MessageWindowProc);
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
  const int clientHeight = gap + textHeight + gap + buttonHeight + gap;

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const POINT at = win32::CentreOnScreen(width, height);

  MessageState state{this, text};
  const HWND previousActive = GetActiveWindow();
  const win32::UniqueWindow window(CreateWindowExA(exStyle, kClassName, kApplicationTitle, style,
                                                   at.x, at.y, width, height, owner_, nullptr,
                                                   instance_, &state));
  if (!window) return;
  const HWND label =
      CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                      margin, gap, textWidth, textHeight, window.get(),
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextId)), instance_, nullptr);
  const HWND button = CreateWindowExA(
      0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
      (clientWidth - buttonWidth) / 2, gap + textHeight + gap, buttonWidth, buttonHeight,
      window.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance_, nullptr);
  for (HWND control : {label, button}) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  }

  const win32::ModalDisabler disabler(window.get(), previousActive);
  ShowWindow(window.get(), SW_SHOWNORMAL);
  SetForegroundWindow(window.get());
  SetFocus(button);
  win32::RunModalLoop(window.get(), state.done, [&](const MSG& msg) {
    if (!IsCopyKey(msg) || (msg.hwnd != window.get() && !IsChild(window.get(), msg.hwnd))) {
      return false;
    }
    SendMessageA(window.get(), WM_COPY, 0, 0);
    return true;
  });
}

}  // namespace qv
