// The program's entry: composes the Windows services, creates the main
// window (whose creation runs the start-up sequence) and the hidden About
// window, and runs the message loop until the main window closes.
// <windows.h> comes through win_dialogs.h, which keeps MessageBox as the
// dialogs interface's own name rather than the A/W macro.
// clang-format off
#include "platform/win32/win_dialogs.h"
#include <commctrl.h>
// clang-format on

#include <exception>
#include <stdexcept>

#include "platform/application.h"
#include "platform/platform.h"
#include "platform/win32/about_window.h"
#include "platform/win32/main_window.h"
#include "platform/win32/win_application.h"
#include "platform/win32/win_files.h"
#include "platform/win32/win_printers.h"
#include "platform/win32/win_process.h"
#include "platform/win32/win_registry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);

  qv::Win32Dialogs dialogs(instance);
  try {
    qv::Win32Registry registry;
    qv::Win32PrinterBackend printerBackend;
    qv::PrinterService printers(printerBackend);
    qv::Win32ProcessRunner processes;
    qv::Win32FileSystem files;
    qv::Win32Application app;
    app.SetTitle(qv::kApplicationTitle);
    qv::Platform platform{registry, printers, processes, files, dialogs, app};

    qv::MainWindow mainWindow(instance, platform, dialogs);
    mainWindow.Create();
    qv::AboutWindow aboutWindow(instance, processes, dialogs);
    aboutWindow.Create(mainWindow.Handle());
    mainWindow.SetShowAbout([&aboutWindow] { aboutWindow.Show(); });
    app.AddNavigableWindow(mainWindow.Handle());
    app.AddNavigableWindow(aboutWindow.Handle());
    return app.Run(mainWindow.Handle());
  } catch (const std::exception& error) {
    qv::ShowException(dialogs, error);
  } catch (...) {
    qv::ShowException(dialogs, std::runtime_error("Unknown error"));
  }
  return 1;
}
