// The arithmetic of a window at any screen scale: lengths at 96 DPI scaled
// to the screen, the font each control shows its text in, the width a
// control needs for its text, and a window's place within the work area of
// its monitor. The Windows half measures and moves; the sums are here.
#pragma once

#include "ui/control_table.h"

namespace qv {

// The scale every layout is designed at.
constexpr int kDesignDpi = 96;

// A length at 96 DPI scaled to dpi, rounded to the nearest pixel (half
// away from zero), as MulDiv rounds.
int ScaleToDpi(int value, int dpi);

// A font as the system creates it: height in pixels (negative: the
// character height), and its face.
struct FontSpec {
  int height;
  bool bold;
  bool underline;
  bool ansiCharset;  // the ANSI character set; else the default one
  const char* face;
};

// The font of a kind at dpi. MS Sans Serif is a bitmap font that stops
// growing at 20 pixels: above 96 DPI its TrueType design, Microsoft Sans
// Serif, takes its place, so text grows with its controls.
FontSpec FontFor(FontKind kind, int dpi);
// The face of the program's dialogs' 8 point font at dpi.
const char* DialogFace(int dpi);

// What a control's own drawing adds to its text's width at dpi: the box
// and gap of a check box, the edges of a push button, nothing for a label.
int TextRoom(ControlKind kind, int dpi);

// The width of a control whose scaled width is scaledWidth and whose text
// is textWidth pixels wide. Above 96 DPI a label, check box or button too
// narrow for its text (with its room) grows to the right to fit it; it
// never shrinks. At 96 DPI the designed width stands.
int WidthToFit(ControlKind kind, int scaledWidth, int textWidth, int dpi);

struct Box {
  int left, top, right, bottom;
};

// The top-left corner of a window of this outer size: centred on a screen
// of screenWidth x screenHeight unless that puts any of it outside the
// work area of its monitor; then moved inside the work area, and where it
// is larger than the work area, its left or top edge at the work area's.
struct Corner {
  int x, y;
};
Corner CentredWindowCorner(int width, int height, int screenWidth, int screenHeight);
Corner PlaceInWorkArea(Corner centred, int width, int height, const Box& workArea);

}  // namespace qv
