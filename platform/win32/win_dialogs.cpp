#include "platform/win32/win_dialogs.h"

// <commdlg.h> needs the types of <windows.h> declared first.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include <vector>

#include "platform/win32/win_util.h"

namespace qv {

int Win32Dialogs::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  const win32::ModalDisabler disabler(nullptr, GetActiveWindow());
  return MessageBoxA(owner_, text.c_str(), caption.c_str(), flags);
}

namespace {

// The file name buffer: the system's path limit with room to spare.
constexpr std::size_t kFileBufferSize = 1024;
constexpr std::size_t kMaxInitialName = 260;

struct FileDialogContext {
  Win32Dialogs* dialogs;
  FileDialog* dialog;
  HWND placeBy;  // the window whose monitor the dialog comes up on
};

// On the monitor of placeBy (the primary monitor without one): centred
// across, the top at a third of the monitor's free height.
void PlaceFileDialog(HWND dialog, HWND placeBy) {
  const HMONITOR monitor = placeBy ? MonitorFromWindow(placeBy, MONITOR_DEFAULTTONEAREST)
                                   : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT window{};
  if (!GetMonitorInfoA(monitor, &info) || !GetWindowRect(dialog, &window)) return;
  const RECT& m = info.rcMonitor;
  const ScreenPoint at = FileDialogPosition({m.left, m.top, m.right, m.bottom},
                                            window.right - window.left, window.bottom - window.top);
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Runs the close-query event; false when the dialog must stay open.
bool FileMayBeAccepted(FileDialogContext& context, HWND dialog, const OPENFILENAMEA& ofn) {
  // The system has put the full path of the choice into the file buffer
  // by now (Wine's CDM_GETFILEPATH joins the folder to a typed full path).
  if (ofn.lpstrFile && ofn.lpstrFile[0] != '\0') {
    context.dialog->fileName = ofn.lpstrFile;
  } else {
    char path[kFileBufferSize] = {};
    SendMessageA(dialog, CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path));
    context.dialog->fileName = path;
  }
  bool canClose = true;
  try {
    if (context.dialog->onCanClose) context.dialog->onCanClose(*context.dialog, canClose);
  } catch (const std::exception& e) {
    ShowException(*context.dialogs, e);
    return true;
  } catch (...) {
    return true;
  }
  return canClose;
}

UINT_PTR CALLBACK FileDialogHook(HWND hook, UINT message, WPARAM, LPARAM lParam) noexcept {
  try {
    if (message == WM_INITDIALOG) {
      const auto* ofn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
      SetWindowLongPtrA(hook, DWLP_USER, static_cast<LONG_PTR>(ofn->lCustData));
      return FALSE;
    }
    if (message != WM_NOTIFY) return FALSE;
    auto* context = reinterpret_cast<FileDialogContext*>(GetWindowLongPtrA(hook, DWLP_USER));
    const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
    if (!context || !notify) return FALSE;
    const UINT code = notify->hdr.code;
    if (code == CDN_INITDONE) PlaceFileDialog(GetParent(hook), context->placeBy);
    if (code == CDN_FILEOK && !FileMayBeAccepted(*context, GetParent(hook), *notify->lpOFN)) {
      SetWindowLongPtrA(hook, DWLP_MSGRESULT, 1);
      return TRUE;
    }
  } catch (...) {
    // Nothing may unwind into the system dialog.
  }
  return FALSE;
}

}  // namespace

static bool RunFileDialog(Win32Dialogs& dialogs, HINSTANCE instance, HWND owner, FileDialog& dialog,
                          bool save) {
  const std::string filter = dialog.filter.empty() ? std::string() : FilterForSystem(dialog.filter);
  const std::string initialDir = InitialDirForSystem(dialog.initialDir);
  std::vector<char> file(kFileBufferSize, '\0');
  dialog.fileName.copy(file.data(), std::min(dialog.fileName.size(), kMaxInitialName));

  // The monitor of the active form, or of the main window when none is.
  const HWND active = GetActiveWindow();
  FileDialogContext context{&dialogs, &dialog, active != nullptr ? active : owner};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = instance;
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrTitle = dialog.title.empty() ? nullptr : dialog.title.c_str();
  ofn.lpstrDefExt = dialog.defaultExt.empty() ? nullptr : dialog.defaultExt.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_ENABLEHOOK;
  ofn.lpfnHook = FileDialogHook;
  ofn.lCustData = reinterpret_cast<LPARAM>(&context);

  const win32::ModalDisabler disabler(nullptr, GetActiveWindow());
  const BOOL chosen = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (!chosen) return false;
  dialog.fileName = file.data();
  return true;
}

bool Win32Dialogs::ExecuteOpen(FileDialog& dialog) {
  return RunFileDialog(*this, instance_, owner_, dialog, false);
}

bool Win32Dialogs::ExecuteSave(FileDialog& dialog) {
  return RunFileDialog(*this, instance_, owner_, dialog, true);
}

}  // namespace qv
