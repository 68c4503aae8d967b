#include "platform/win32/control_factory.h"

#include "platform/errors.h"

namespace qv {

namespace {

win32::UniqueFont MakeFont(int height, int weight, bool underline, BYTE charset, const char* face,
                           int dpi) {
  return win32::UniqueFont(CreateFontA(win32::Scale(height, dpi), 0, 0, 0, weight, FALSE, underline,
                                       FALSE, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
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
    int height = win32::Scale(r.height, dpi);
    const int width =
        r.width == 0 ? TextWidth(entry.caption, fonts.Get(entry.font)) : win32::Scale(r.width, dpi);
    // A drop-down list's window height includes its open list.
    if (entry.kind == ControlKind::DropDownList) {
      height += win32::Scale(kItemHeight * kDropDownRows + 2, dpi);
    }
    HWND control =
        CreateWindowExA(cs.exStyle, cs.windowClass, entry.caption, WS_CHILD | WS_VISIBLE | cs.style,
                        win32::Scale(r.left, dpi), win32::Scale(r.top, dpi), width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
    if (control == nullptr) win32::RaiseLastError();
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(entry.font)), FALSE);
    switch (entry.kind) {
      case ControlKind::Image:
        SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        break;
      case ControlKind::ListBox:
        SendMessageA(control, LB_SETITEMHEIGHT, 0, win32::Scale(kItemHeight, dpi));
        break;
      case ControlKind::DropDownList: {
        SendMessageA(control, CB_SETITEMHEIGHT, 0, win32::Scale(kItemHeight, dpi));
        // The closed box is as high as the table says: the selection
        // field grows or shrinks by the difference.
        RECT closed;
        GetWindowRect(control, &closed);
        const LRESULT field = SendMessageA(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        const int difference = win32::Scale(r.height, dpi) - (closed.bottom - closed.top);
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

}  // namespace qv
