// The program's entry: composes the Windows services and runs the window
// program with them.
// clang-format off
#include "platform/win32/program.h"
#include <commctrl.h>
// clang-format on

#include "platform/application.h"
#include "platform/win32/win_files.h"
#include "platform/win32/win_printers.h"
#include "platform/win32/win_process.h"
#include "platform/win32/win_registry.h"
#include "platform/win32/win_util.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  qv::win32::RestrictDllSearchToSystem();
  INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);

  qv::Win32Dialogs dialogs(instance);
  qv::Win32Registry registry;
  qv::Win32PrinterBackend printerBackend;
  qv::PrinterService printers(printerBackend);
  qv::Win32ProcessRunner processes;
  qv::Win32FileSystem files;
  qv::Win32Application app;
  app.SetTitle(qv::kApplicationTitle);
  qv::Platform platform{registry, printers, processes, files, dialogs, app};
  return qv::RunWindowProgram(instance, platform, dialogs, app);
}
