// A window's controls as data: what each control is, where it sits at 96
// dots per inch, what it shows and where it comes in the tab order. The
// Windows control factory creates a window's controls from such a table,
// scaled to the screen's DPI.
#pragma once

#include <vector>

namespace qv {

// What a control is. The window maps each kind to its system class and
// styles.
enum class ControlKind {
  Image,          // the application icon, sized to its picture
  Label,          // plain text
  LinkLabel,      // text that opens a link when clicked (hand cursor, blue)
  Button,         // push button
  DefaultButton,  // push button answering Enter
  Edit,           // one-line edit
  ReadOnlyEdit,   // one-line edit the user cannot change
  DropDownList,   // combo box without typing
  ListBox,        // list box of exactly the given height
  GroupBox,       // frame with a caption around other controls
  CheckBox,       // automatic check box
};

// The font a control shows its text in.
enum class FontKind {
  Normal,      // MS Sans Serif 8 point (height -11 at 96 DPI)
  Title,       // MS Sans Serif 18 point bold underlined (height -24)
  AboutTitle,  // MS Sans Serif 10 point bold underlined (height -13)
  Credit,      // Arial Narrow, ANSI character set, height -11, bold
  Link,        // the normal font, underlined
};

struct ControlEntry {
  const char* name;  // the designer name, e.g. "LMDButton3"
  int id;            // control identifier (WM_COMMAND, GetDlgItem)
  ControlKind kind;
  int left, top, width, height;  // at 96 DPI, relative to the parent;
                                 // width 0: as wide as the caption
  const char* caption;           // text shown; empty for lists and images
  int tabOrder = -1;             // position among the parent's tab stops; -1 for none
  const char* parent = nullptr;  // nullptr: the window itself; else a group box's name
  FontKind font = FontKind::Normal;
};

// A table's controls in the order the window creates them: the order in
// which Tab visits them, a group box's contents at the group box's place.
// Controls without a tab stop keep their table place relative to the
// others.
std::vector<ControlEntry> InCreationOrder(const std::vector<ControlEntry>& controls);

// A control's position in its window's client area: a group box's
// contents are placed relative to the group box.
struct Rect96 {
  int left, top, width, height;
};
Rect96 PositionInWindow(const std::vector<ControlEntry>& controls, const ControlEntry& control);

}  // namespace qv
