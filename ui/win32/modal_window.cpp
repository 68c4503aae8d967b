#include "ui/win32/modal_window.h"

#include <utility>

#include "ui/win32/screen.h"

namespace qv {

ModalWindow::ModalWindow(HINSTANCE instance, IDialogs& errors, const char* className,
                         win32::UniqueFont font)
    : WindowBase(instance, errors, className, ClassIcon::None), font_(std::move(font)) {}

ModalWindow::~ModalWindow() {
  Destroy();
}

bool ModalWindow::Create(const char* caption, DWORD style, int clientWidth, int clientHeight,
                         HWND owner) {
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  previousActive_ = GetActiveWindow();
  return CreateCentred(
      {caption, style, exStyle, outer.right - outer.left, outer.bottom - outer.top, owner});
}

HWND ModalWindow::AddControl(const ChildControl& c) {
  const HWND control =
      CreateWindowExA(c.exStyle, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, c.rect.left,
                      c.rect.top, c.rect.right - c.rect.left, c.rect.bottom - c.rect.top, Handle(),
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return control;
}

bool ModalWindow::RunModal(HWND focus, const std::function<bool(const MSG&)>& preTranslate) {
  const HWND window = Handle();
  const win32::ModalDisabler disabler(window, previousActive_);
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  SetFocus(focus);
  while (!done_ && IsWindow(window)) {
    MSG msg;
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // A WM_QUIT taken here is posted again, so that the program's main
      // loop still sees it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (preTranslate && preTranslate(msg)) continue;
    if (!IsDialogMessageA(window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return accepted_;
}

void ModalWindow::ChangeDpi(int dpi) {
  if (!layOutAt) return;
  Layout layout = layOutAt(dpi);
  // The suggested place, with the client size the controls need inside
  // the frame the window has now.
  RECT outer{}, client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  SetWindowPos(hwnd_, nullptr, 0, 0, layout.client.cx + (outer.right - outer.left) - client.right,
               layout.client.cy + (outer.bottom - outer.top) - client.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const auto& [id, r] : layout.controls) {
    const HWND control = GetDlgItem(hwnd_, id);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(layout.font.get()), TRUE);
  }
  font_ = std::move(layout.font);  // the old font goes once no control shows it
  InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT ModalWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (onMessage && onMessage(message, result)) return result;
  if (message == WM_DPICHANGED) {
    ChangeDpi(win32::TakeSuggestedRect(hwnd_, wParam, lParam));
    return 0;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    accepted_ = LOWORD(wParam) == IDOK;
    done_ = true;
    return 0;
  }
  if (message == WM_CLOSE) {  // the close box cancels
    done_ = true;
    return 0;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

SIZE FontUnits(HFONT font) {
  const win32::WindowDc dc(nullptr);
  const win32::SelectedObject selected(dc.Get(), font);
  return win32::DialogBaseUnits(dc.Get());
}

RECT TextRect(HFONT font, const std::string& text, int width, UINT format) {
  const win32::WindowDc dc(nullptr);
  const win32::SelectedObject selected(dc.Get(), font);
  RECT rect{0, 0, width, 0};
  DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | format);
  return rect;
}

}  // namespace qv
