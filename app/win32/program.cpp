#include "app/win32/program.h"

#include <exception>
#include <stdexcept>

#include "about/win32/about_window.h"
#include "app/win32/main_window.h"

namespace qv {
namespace {

// Shows an error that ended the program before its loop ran. The main
// window is destroyed by now: the box gets no owner, and the quit request
// its destruction posted is taken first, or the box would close at once.
void ShowFatal(Win32Dialogs& dialogs, const std::exception& error) {
  dialogs.SetOwner(nullptr);
  MSG quit;
  while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  ShowException(dialogs, error);
}

}  // namespace

int RunWindowProgram(HINSTANCE instance, Platform& platform, Win32Dialogs& dialogs,
                     Win32Application& app) {
  try {
    MainWindow mainWindow(instance, platform, app, dialogs);
    mainWindow.Create();
    AboutWindow aboutWindow(instance, platform.processes, dialogs);
    aboutWindow.Create(mainWindow.Handle());
    mainWindow.SetShowAbout([&aboutWindow] { aboutWindow.Show(); });
    app.AddNavigableWindow(mainWindow.Handle());
    app.AddNavigableWindow(aboutWindow.Handle());
    return app.Run(mainWindow.Handle());
  } catch (const std::exception& error) {
    ShowFatal(dialogs, error);
  } catch (...) {
    ShowFatal(dialogs, std::runtime_error("Unknown error"));
  }
  return 1;
}

}  // namespace qv
