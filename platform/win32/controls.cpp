#include "platform/win32/controls.h"

#include <vector>

#include "platform/errors.h"

namespace qv {

std::string Win32TextControl::Text() const {
  return win32::WindowText(hwnd_);
}

void Win32TextControl::SetText(const std::string& text) {
  SetWindowTextA(hwnd_, text.c_str());
}

LRESULT Win32ListControl::Send(UINT listBoxMessage, UINT comboBoxMessage, WPARAM w,
                               LPARAM l) const {
  return SendMessageA(hwnd_, kind_ == Kind::ListBox ? listBoxMessage : comboBoxMessage, w, l);
}

void Win32ListControl::Clear() {
  Send(LB_RESETCONTENT, CB_RESETCONTENT, 0, 0);
}

void Win32ListControl::Add(const std::string& item) {
  Send(LB_ADDSTRING, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int Win32ListControl::Count() const {
  const LRESULT count = Send(LB_GETCOUNT, CB_GETCOUNT, 0, 0);
  return count < 0 ? 0 : static_cast<int>(count);
}

std::string Win32ListControl::Item(int index) const {
  if (index < 0 || index >= Count()) return std::string();
  const LRESULT length = Send(LB_GETTEXTLEN, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  const LRESULT copied = Send(LB_GETTEXT, CB_GETLBTEXT, static_cast<WPARAM>(index),
                              reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

int Win32ListControl::ItemIndex() const {
  const LRESULT index = Send(LB_GETCURSEL, CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void Win32ListControl::SetItemIndex(int index) {
  Send(LB_SETCURSEL, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool Win32CheckControl::Checked() const {
  return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32CheckControl::SetChecked(bool checked) {
  SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace qv

namespace qv {

int ScreenDpi() {
  win32::WindowDc screen(nullptr);
  const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

namespace {

win32::UniqueFont MakeFont(int height, int weight, bool underline, BYTE charset, const char* face,
                           int dpi) {
  return win32::UniqueFont(CreateFontA(Scale(height, dpi), 0, 0, 0, weight, FALSE, underline, FALSE,
                                       charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
}

[[noreturn]] void RaiseLastError() {
  const DWORD code = GetLastError();
  throw ESystemError(SystemErrorMessage(code, win32::SystemErrorText(code)));
}

struct ClassAndStyle {
  const char* windowClass;
  DWORD style;
  DWORD exStyle;
};

ClassAndStyle ForKind(ControlKind kind) {
  switch (kind) {
    case ControlKind::Image:
      return {"STATIC", SS_ICON, 0};
    case ControlKind::Label:
      return {"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case ControlKind::LinkLabel:
      return {"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, 0};
    case ControlKind::Button:
      return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::DefaultButton:
      return {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::Edit:
      return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::ReadOnlyEdit:
      return {"EDIT", ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::DropDownList:
      return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::ListBox:
      return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case ControlKind::GroupBox:
      // Lies below its contents; clipping keeps its frame from painting
      // over them.
      return {"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS, 0};
    case ControlKind::CheckBox:
      return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
  }
  return {"STATIC", 0, 0};
}

// The width of a caption in a font, in pixels.
int TextWidth(const char* text, HFONT font) {
  win32::WindowDc screen(nullptr);
  win32::SelectedObject selected(screen.Get(), font);
  SIZE size{0, 0};
  GetTextExtentPoint32A(screen.Get(), text, lstrlenA(text), &size);
  return size.cx;
}

// Item height of the lists: 13 pixels at 96 DPI.
constexpr int kItemHeight = 13;
// Rows the drop-down list shows when open.
constexpr int kDropDownRows = 8;

}  // namespace

FontSet::FontSet(int dpi)
    : normal_(MakeFont(-11, FW_NORMAL, false, DEFAULT_CHARSET, "MS Sans Serif", dpi)),
      title_(MakeFont(-24, FW_BOLD, true, DEFAULT_CHARSET, "MS Sans Serif", dpi)),
      aboutTitle_(MakeFont(-13, FW_BOLD, true, DEFAULT_CHARSET, "MS Sans Serif", dpi)),
      credit_(MakeFont(-11, FW_BOLD, false, ANSI_CHARSET, "Arial Narrow", dpi)),
      link_(MakeFont(-11, FW_NORMAL, true, DEFAULT_CHARSET, "MS Sans Serif", dpi)) {}

HFONT FontSet::Get(FontKind kind) const {
  switch (kind) {
    case FontKind::Normal:
      return normal_.get();
    case FontKind::Title:
      return title_.get();
    case FontKind::AboutTitle:
      return aboutTitle_.get();
    case FontKind::Credit:
      return credit_.get();
    case FontKind::Link:
      return link_.get();
  }
  return normal_.get();
}

IconHandle LoadAppIcon(HINSTANCE instance, int size) {
  return IconHandle(static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void CreateControls(HWND parent, HINSTANCE instance, const std::vector<ControlEntry>& controls,
                    const FontSet& fonts, HICON icon, int dpi) {
  for (const ControlEntry& entry : InCreationOrder(controls)) {
    const Rect96 r = PositionInWindow(controls, entry);
    const ClassAndStyle cs = ForKind(entry.kind);
    int height = Scale(r.height, dpi);
    const int width =
        r.width == 0 ? TextWidth(entry.caption, fonts.Get(entry.font)) : Scale(r.width, dpi);
    // A drop-down list's window height includes its open list.
    if (entry.kind == ControlKind::DropDownList) {
      height += Scale(kItemHeight * kDropDownRows + 2, dpi);
    }
    HWND control =
        CreateWindowExA(cs.exStyle, cs.windowClass, entry.caption, WS_CHILD | WS_VISIBLE | cs.style,
                        Scale(r.left, dpi), Scale(r.top, dpi), width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
    if (control == nullptr) RaiseLastError();
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(entry.font)), FALSE);
    switch (entry.kind) {
      case ControlKind::Image:
        SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        break;
      case ControlKind::ListBox:
        SendMessageA(control, LB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
        break;
      case ControlKind::DropDownList: {
        SendMessageA(control, CB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
        // The closed box is as high as the table says: the selection
        // field grows or shrinks by the difference.
        RECT closed;
        GetWindowRect(control, &closed);
        const LRESULT field = SendMessageA(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        const int difference = Scale(r.height, dpi) - (closed.bottom - closed.top);
        if (field > 0 && difference != 0) {
          SendMessageA(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + difference);
        }
        break;
      }
      default:
        break;
    }
  }
}

WindowClass::WindowClass(HINSTANCE instance, const WNDCLASSEXA& description)
    : instance_(instance),
      name_(description.lpszClassName),
      registered_(RegisterClassExA(&description) != 0) {
  if (!registered_) RaiseLastError();
}

WindowClass::~WindowClass() {
  if (registered_) UnregisterClassA(name_, instance_);
}

WindowBase::~WindowBase() {
  Destroy();
}

void WindowBase::Destroy() {
  if (hwnd_ != nullptr) {
    HWND window = hwnd_;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    DestroyWindow(window);
  }
}

HWND WindowBase::CreateBase(DWORD exStyle, const char* className, const char* caption, DWORD style,
                            int x, int y, int width, int height, HWND owner, HINSTANCE instance) {
  return CreateWindowExA(exStyle, className, caption, style, x, y, width, height, owner, nullptr,
                         instance, this);
}

void WindowBase::KeepFocusOnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  if (HIWORD(wParam) != 0) return;  // minimised
  HWND target = lastFocus_;
  if (target == nullptr || !IsWindow(target) || !IsChild(hwnd_, target)) {
    target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  }
  if (target != nullptr) SetFocus(target);
}

LRESULT CALLBACK WindowBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* self = static_cast<WindowBase*>(create->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& error) {
    ShowException(self->errorDialogs_, error);
  } catch (...) {
    ShowException(self->errorDialogs_, std::runtime_error("Unknown error"));
  }
  return 0;
}

}  // namespace qv
