#include "ui/win32/win_application.h"

#include <algorithm>

namespace qv {

namespace {

// The show command the main window first appears with, from the start-up
// information the program was started with.
int StartupShowCommand() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const WORD show = startup.wShowWindow;
  if ((startup.dwFlags & STARTF_USESHOWWINDOW) == 0) return SW_SHOWNORMAL;
  if (show == SW_SHOWMAXIMIZED) return SW_SHOWMAXIMIZED;
  if (show == SW_SHOWMINIMIZED || show == SW_MINIMIZE || show == SW_SHOWMINNOACTIVE) {
    return SW_SHOWMINIMIZED;
  }
  return SW_SHOWNORMAL;
}

}  // namespace

void Win32Application::Dispatch(MSG& message) {
  // Keyboard navigation among the controls of our top-level windows.
  if (message.hwnd != nullptr) {
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (std::find(navigable_.begin(), navigable_.end(), root) != navigable_.end() &&
        IsWindow(root) && IsDialogMessageA(root, &message)) {
      return;
    }
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

void Win32Application::ProcessMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The loop in Run ends once the running handler has returned.
      terminated_ = true;
      exitCode_ = static_cast<int>(message.wParam);
      break;
    }
    Dispatch(message);
  }
}

int Win32Application::Run(HWND mainWindow) {
  if (mainWindow != nullptr && IsWindow(mainWindow)) {
    ShowWindow(mainWindow, StartupShowCommand());
    UpdateWindow(mainWindow);
  }
  MSG message;
  while (!terminated_) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) exitCode_ = static_cast<int>(message.wParam);
    if (got == 0 || got == -1) break;
    Dispatch(message);
  }
  terminated_ = true;
  return exitCode_;
}

}  // namespace qv
