// The screen every window of the program is laid out on: its dots per inch,
// lengths at 96 DPI scaled to it, and the centred place of a window.
#pragma once

#include <windows.h>

namespace qv::win32 {

// The screen's dots per inch (96 when the system cannot tell).
int ScreenDpi();

// A length at 96 DPI scaled to dpi.
inline int Scale(int value, int dpi) {
  return MulDiv(value, dpi, 96);
}

// Where a window of the given outer size is centred on the screen.
POINT CentreOnScreen(int width, int height);

}  // namespace qv::win32
