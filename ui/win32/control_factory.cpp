#include "ui/win32/control_factory.h"

#include <iterator>
#include <type_traits>

#include "platform/errors.h"

namespace qv {

namespace {

struct ClassAndStyle {
  const char* windowClass;
  DWORD style;
  DWORD exStyle;
};

// The system class and styles of each ControlKind, in the enum's order.
const ClassAndStyle kClassOfKind[] = {
    {"STATIC", SS_ICON, 0},                                                 // Image
    {"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0},                         // Label
    {"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, 0},             // LinkLabel
    {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},                              // Button
    {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 0},                           // DefaultButton
    {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},                // Edit
    {"EDIT", ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP, WS_EX_CLIENTEDGE},  // ReadOnlyEdit
    {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},            // DropDownList
    {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
     WS_EX_CLIENTEDGE},  // ListBox
    // GroupBox: lies below its contents; clipping keeps its frame from
    // painting over them.
    {"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS, 0},
    {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0},  // CheckBox
};
static_assert(std::size(kClassOfKind) == static_cast<int>(ControlKind::CheckBox) + 1);

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

FontSet::FontSet(int dpi) {
  struct FontRow {
    int height, weight;
    bool underline;
    BYTE charset;
    const char* face;
  };
  // In FontKind's order: Normal, Title, AboutTitle, Credit, Link.
  static const FontRow kFontRows[] = {
      {-11, FW_NORMAL, false, DEFAULT_CHARSET, "MS Sans Serif"},
      {-24, FW_BOLD, true, DEFAULT_CHARSET, "MS Sans Serif"},
      {-13, FW_BOLD, true, DEFAULT_CHARSET, "MS Sans Serif"},
      {-11, FW_BOLD, false, ANSI_CHARSET, "Arial Narrow"},
      {-11, FW_NORMAL, true, DEFAULT_CHARSET, "MS Sans Serif"},
  };
  static_assert(std::size(kFontRows) == std::extent_v<decltype(fonts_)>);
  for (std::size_t i = 0; i < std::size(kFontRows); ++i) {
    const FontRow& f = kFontRows[i];
    fonts_[i].reset(CreateFontA(win32::Scale(f.height, dpi), 0, 0, 0, f.weight, FALSE, f.underline,
                                FALSE, f.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, f.face));
  }
}

HFONT FontSet::Get(FontKind kind) const {
  return fonts_[static_cast<int>(kind)].get();
}

win32::UniqueIcon LoadAppIcon(HINSTANCE instance, int size) {
  return win32::UniqueIcon(static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void CreateControls(HWND parent, HINSTANCE instance, const std::vector<ControlEntry>& controls,
                    const FontSet& fonts, HICON icon, int dpi) {
  for (const ControlEntry& entry : InCreationOrder(controls)) {
    const Rect96 r = PositionInWindow(controls, entry);
    const ClassAndStyle& cs = kClassOfKind[static_cast<int>(entry.kind)];
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
    if (entry.kind == ControlKind::Image) {
      SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    if (entry.kind == ControlKind::ListBox) {
      SendMessageA(control, LB_SETITEMHEIGHT, 0, win32::Scale(kItemHeight, dpi));
    }
    if (entry.kind == ControlKind::DropDownList) {
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
    }
  }
}

}  // namespace qv
