// The input dialog: a prompt above a one-line edit, "OK" and "Cancel",
// measured in dialog units of the main window's font.
#include <windows.h>

#include "platform/win32/screen.h"
#include "platform/win32/win_dialogs.h"
#include "platform/win32/win_util.h"

namespace qv {
namespace {

constexpr char kClassName[] = "QvInputDialog";
constexpr int kPromptId = 100;
constexpr int kEditId = 101;
constexpr int kMaxLength = 255;

struct InputState {
  IDialogs* dialogs;
  bool done = false;
  bool accepted = false;
};

LRESULT CALLBACK InputDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  try {
    switch (message) {
      case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
      }
      case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
      case WM_COMMAND:
        if (state && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
          state->accepted = LOWORD(wParam) == IDOK;
          state->done = true;
        }
        return 0;
      case WM_CLOSE:  // the close box cancels
        if (state) state->done = true;
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

// "MS Sans Serif" 8 pt, the main window's font, at the screen's DPI.
win32::UniqueFont DialogFont() {
  return win32::UniqueFont(CreateFontA(-MulDiv(8, win32::ScreenDpi(), 72), 0, 0, 0, FW_NORMAL,
                                       FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
}

HWND AddControl(HWND parent, HINSTANCE instance, DWORD exStyle, const char* className,
                const char* text, DWORD style, const RECT& r, int id, HFONT font) {
  const HWND control =
      CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                      r.right - r.left, r.bottom - r.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

}  // namespace

bool Win32Dialogs::InputQuery(const std::string& caption, const std::string& prompt,
                              std::string& value) {
  win32::RegisterWindowClass(instance_, kClassName, InputDialogProc);
  const win32::UniqueFont font = DialogFont();

  SIZE unit{};
  RECT promptRect{};
  int editHeight = 0;
  {
    const win32::WindowDc dc(nullptr);
    const win32::SelectedObject selected(dc.Get(), font.get());
    unit = win32::DialogBaseUnits(dc.Get());
    promptRect = RECT{0, 0, MulDiv(164, unit.cx, 4), 0};
    DrawTextA(dc.Get(), prompt.c_str(), static_cast<int>(prompt.size()), &promptRect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    // A one-line edit: the text height plus room for its sunken border.
    editHeight = unit.cy + unit.cy / 4 + 4 * GetSystemMetrics(SM_CYBORDER);
  }
  const int left = MulDiv(8, unit.cx, 4);
  OffsetRect(&promptRect, left, MulDiv(8, unit.cy, 8));
  const int editTop = promptRect.bottom + 5;
  const RECT editRect{left, editTop, left + MulDiv(164, unit.cx, 4), editTop + editHeight};
  const int buttonTop = editRect.bottom + 15;
  const int buttonWidth = MulDiv(50, unit.cx, 4);
  const int buttonBottom = buttonTop + MulDiv(14, unit.cy, 8);
  const int okLeft = MulDiv(38, unit.cx, 4);
  const int cancelLeft = MulDiv(92, unit.cx, 4);
  const RECT okRect{okLeft, buttonTop, okLeft + buttonWidth, buttonBottom};
  const RECT cancelRect{cancelLeft, buttonTop, cancelLeft + buttonWidth, buttonBottom};

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT outer{0, 0, MulDiv(180, unit.cx, 4), buttonBottom + 13};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const POINT at = win32::CentreOnScreen(width, height);

  InputState state{this};
  const HWND previousActive = GetActiveWindow();
  const win32::UniqueWindow window(CreateWindowExA(exStyle, kClassName, caption.c_str(), style,
                                                   at.x, at.y, width, height, owner_, nullptr,
                                                   instance_, &state));
  if (!window) return false;
  const HWND w = window.get();
  AddControl(w, instance_, 0, "STATIC", prompt.c_str(), SS_LEFT | SS_NOPREFIX, promptRect,
             kPromptId, font.get());
  const HWND edit = AddControl(w, instance_, WS_EX_CLIENTEDGE, "EDIT", value.c_str(),
                               WS_TABSTOP | ES_AUTOHSCROLL, editRect, kEditId, font.get());
  AddControl(w, instance_, 0, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, okRect, IDOK,
             font.get());
  AddControl(w, instance_, 0, "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, cancelRect, IDCANCEL,
             font.get());
  SendMessageA(edit, EM_LIMITTEXT, kMaxLength, 0);
  SendMessageA(edit, EM_SETSEL, 0, -1);

  {
    const win32::ModalDisabler disabler(w, previousActive);
    ShowWindow(w, SW_SHOWNORMAL);
    SetForegroundWindow(w);
    SetFocus(edit);
    win32::RunModalLoop(w, state.done);
    if (state.accepted) value = win32::WindowText(edit);
  }
  return state.accepted;
}

}  // namespace qv
