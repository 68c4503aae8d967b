#include "ui/win32/modal_window.h"

#include "ui/win32/screen.h"

namespace qv {

ModalWindow::ModalWindow(HINSTANCE instance, IDialogs& errors, const char* className, HFONT font)
    : instance_(instance),
      errors_(errors),
      font_(font),
      class_(instance, ClassDescription(instance, className, &ModalWindow::Procedure)) {}

ModalWindow::~ModalWindow() {
  // Messages of the window's destruction find no object to reach.
  if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
}

bool ModalWindow::Create(const char* caption, DWORD style, int clientWidth, int clientHeight,
                         HWND owner) {
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const POINT at = win32::CentreOnScreen(width, height);
  previousActive_ = GetActiveWindow();
  window_.reset(CreateWindowExA(exStyle, class_.Name(), caption, style, at.x, at.y, width, height,
                                owner, nullptr, instance_, this));
  return window_ != nullptr;
}

HWND ModalWindow::AddControl(DWORD exStyle, const char* className, const char* text, DWORD style,
                             const RECT& r, int id) {
  const HWND control =
      CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                      r.right - r.left, r.bottom - r.top, Handle(),
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
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

LRESULT CALLBACK ModalWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ModalWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr || message == WM_NCCREATE) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  try {
    LRESULT result = 0;
    if (self->onMessage && self->onMessage(message, result)) return result;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
      self->accepted_ = LOWORD(wParam) == IDOK;
      self->done_ = true;
      return 0;
    }
    if (message == WM_CLOSE) {  // the close box cancels
      self->done_ = true;
      return 0;
    }
  } catch (const std::exception& e) {
    ShowException(self->errors_, e);
  } catch (...) {
  }
  return DefWindowProcA(window, message, wParam, lParam);
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
