// Creating a window's controls from its control table, at the screen's DPI,
// with the fonts and the application icon they show; laying them out again
// at another DPI.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/control_table.h"
#include "ui/win32/gui_util.h"
#include "ui/win32/screen.h"

namespace qv {

// A font as the system creates it.
win32::UniqueFont MakeFont(const FontSpec& font);

// The fonts one window's controls use, created for its DPI.
class FontSet {
 public:
  explicit FontSet(int dpi);
  HFONT Get(FontKind kind) const;

 private:
  win32::UniqueFont fonts_[5];  // by FontKind
};

// The application icon at a given size, owned by the caller.
win32::UniqueIcon LoadAppIcon(HINSTANCE instance, int size);

// Creates the controls of a table as children of parent, in creation order
// (which is the tab order), at their positions scaled to dpi. A group
// box's contents become siblings of the group box, placed at the group
// box's origin plus their offset, so their notifications reach parent
// directly. Images show icon. Raises ESystemError when a control cannot be
// created.
void CreateControls(HWND parent, HINSTANCE instance, const std::vector<ControlEntry>& controls,
                    const FontSet& fonts, HICON icon, int dpi);
// Places the controls created from the table again at dpi, in these fonts
// (the window's DPI changed).
void LayOutControls(HWND parent, const std::vector<ControlEntry>& controls, const FontSet& fonts,
                    HICON icon, int dpi);

}  // namespace qv
