// The application object on Windows: the title, the message loop with
// keyboard navigation between controls, and the program's end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/application.h"

namespace qv {

class Win32Application : public IApplication {
 public:
  // Windows whose controls Tab, Enter and Esc move between (the dialog
  // manager's keyboard handling).
  void AddNavigableWindow(HWND window) { navigable_.push_back(window); }

  void ProcessMessages() override;

  // Shows the main window with the start-up show command (maximised or
  // minimised when the program was started so), then takes and dispatches
  // messages until the main window has closed. Returns the exit code.
  int Run(HWND mainWindow);

 private:
  void Dispatch(MSG& message);

  std::vector<HWND> navigable_;
  bool terminated_ = false;
  int exitCode_ = 0;
};

}  // namespace qv
