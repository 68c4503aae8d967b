// The screen every window of the program is laid out on: its dots per inch
// (the system's, or a window's own on Windows 10 and later), lengths at 96
// DPI scaled to it, and a window's place: centred on the screen, within
// the work area of its monitor.
#pragma once

#include <windows.h>

#include "ui/scaling.h"

namespace qv::win32 {

// The screen's dots per inch (96 when the system cannot tell).
int ScreenDpi();
// The dots per inch of the monitor a window is on (GetDpiForWindow, where
// the system has it); the screen's otherwise.
int WindowDpi(HWND window);

// A length at 96 DPI scaled to dpi.
inline int Scale(int value, int dpi) {
  return ScaleToDpi(value, dpi);
}

// The outer rectangle of a window of this style around a client rectangle
// at dpi (AdjustWindowRectExForDpi where the system has it).
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

// The system's message font at dpi (SystemParametersInfoForDpi where the
// system has it; else the system DPI's font scaled to dpi).
LOGFONTA MessageFontForDpi(int dpi);

// Where a window of the given outer size goes: centred on the screen,
// moved into the work area of its monitor where it would leave it.
POINT PlaceOnScreen(int width, int height);

// WM_DPICHANGED: the new dots per inch and the rectangle the system
// suggests; the window moves there.
int TakeSuggestedRect(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace qv::win32
