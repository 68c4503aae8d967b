// The window program once its services exist, apart from WinMain so that
// the Windows tests can run it with services of their own.
#pragma once

// <windows.h> comes through win_dialogs.h, which keeps MessageBox as the
// dialogs interface's own name rather than the A/W macro.
// clang-format off
#include "ui/win32/win_dialogs.h"
#include "platform/platform.h"
#include "ui/win32/win_application.h"
// clang-format on

namespace qv {

// Creates the main window (whose creation runs the start-up sequence) and
// the hidden About window, then runs the message loop until the main
// window closes. Returns the exit code: 1 when the windows could not be
// created, after the error has been shown without an owner (the main
// window is gone by then).
int RunWindowProgram(HINSTANCE instance, Platform& platform, Win32Dialogs& dialogs,
                     Win32Application& app);

}  // namespace qv
