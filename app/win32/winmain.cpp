// The program's entry: composes the Windows services and runs the window
// program with them.
// clang-format off
#include "app/win32/program.h"
#include <commctrl.h>
// clang-format on

#include "platform/win32/win_services.h"
#include "platform/win32/win_util.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  qv::win32::RestrictDllSearchToSystem();
  INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);

  qv::Win32Dialogs dialogs(instance);
  qv::Win32Services s;
  qv::Win32Application app;
  return qv::RunWindowProgram(instance, s.platform, dialogs, app);
}
