#include "ui/win32/control_factory.h"

#include <iterator>

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

win32::UniqueFont MakeFont(const FontSpec& f) {
  return win32::UniqueFont(
      CreateFontA(f.height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, f.underline, FALSE,
                  f.ansiCharset ? ANSI_CHARSET : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, f.face));
}

FontSet::FontSet(int dpi) {
  for (std::size_t i = 0; i < std::size(fonts_); ++i) {
    fonts_[i] = MakeFont(FontFor(static_cast<FontKind>(i), dpi));
  }
}

HFONT FontSet::Get(FontKind kind) const {
  return fonts_[static_cast<int>(kind)].get();
}

win32::UniqueIcon LoadAppIcon(HINSTANCE instance, int size) {
  return win32::UniqueIcon(static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

namespace {

// Where a control of the table goes at dpi: its scaled rectangle, as wide
// as its text needs (see WidthToFit); a drop-down list's window height
// includes its open list.
RECT PlaceOf(const std::vector<ControlEntry>& controls, const ControlEntry& entry,
             const FontSet& fonts, int dpi) {
  const Rect96 r = PositionInWindow(controls, entry);
  const int left = win32::Scale(r.left, dpi), top = win32::Scale(r.top, dpi);
  int height = win32::Scale(r.height, dpi);
  int width = win32::Scale(r.width, dpi);
  if (r.width == 0) {
    width = TextWidth(entry.caption, fonts.Get(entry.font));
  } else if (dpi != kDesignDpi) {
    width = WidthToFit(entry.kind, width, TextWidth(entry.caption, fonts.Get(entry.font)), dpi);
  }
  if (entry.kind == ControlKind::DropDownList) {
    height += win32::Scale(kItemHeight * kDropDownRows + 2, dpi);
  }
  return RECT{left, top, left + width, top + height};
}

// A control's font, picture and list item heights at dpi.
void Dress(HWND control, const std::vector<ControlEntry>& controls, const ControlEntry& entry,
           const FontSet& fonts, HICON icon, int dpi) {
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(entry.font)), FALSE);
  if (entry.kind == ControlKind::Image) {
    SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
  if (entry.kind == ControlKind::ListBox) {
    SendMessageA(control, LB_SETITEMHEIGHT, 0, win32::Scale(kItemHeight, dpi));
  }
  if (entry.kind == ControlKind::DropDownList) {
    SendMessageA(control, CB_SETITEMHEIGHT, 0, win32::Scale(kItemHeight, dpi));
    // The closed box is as high as the table says: the selection field
    // grows or shrinks by the difference, and once more by what the list
    // makes of that request (some add their own padding to it).
    const int closedHeight = win32::Scale(PositionInWindow(controls, entry).height, dpi);
    const auto closedError = [control, closedHeight] {
      RECT closed;
      GetWindowRect(control, &closed);
      return closedHeight - (closed.bottom - closed.top);
    };
    const LRESULT field = SendMessageA(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    LRESULT request = field + closedError();
    for (int attempt = 0; attempt < 2 && field > 0 && request != field; ++attempt) {
      SendMessageA(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), request);
      const int error = closedError();
      if (error == 0) break;
      request += error;
    }
  }
}

}  // namespace

void CreateControls(HWND parent, HINSTANCE instance, const std::vector<ControlEntry>& controls,
                    const FontSet& fonts, HICON icon, int dpi) {
  for (const ControlEntry& entry : InCreationOrder(controls)) {
    const RECT r = PlaceOf(controls, entry, fonts, dpi);
    const ClassAndStyle& cs = kClassOfKind[static_cast<int>(entry.kind)];
    HWND control =
        CreateWindowExA(cs.exStyle, cs.windowClass, entry.caption, WS_CHILD | WS_VISIBLE | cs.style,
                        r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
    if (control == nullptr) win32::RaiseLastError();
    Dress(control, controls, entry, fonts, icon, dpi);
  }
}

void LayOutControls(HWND parent, const std::vector<ControlEntry>& controls, const FontSet& fonts,
                    HICON icon, int dpi) {
  for (const ControlEntry& entry : controls) {
    const HWND control = GetDlgItem(parent, entry.id);
    if (control == nullptr) continue;
    const RECT r = PlaceOf(controls, entry, fonts, dpi);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Dress(control, controls, entry, fonts, icon, dpi);
  }
  InvalidateRect(parent, nullptr, TRUE);
}

}  // namespace qv
