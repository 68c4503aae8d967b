#include "ui/win32/win_dialogs.h"

// <commdlg.h> needs the types of <windows.h> declared first.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include <vector>

#include "platform/application.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win_files.h"
#include "ui/win32/gui_util.h"

namespace qv {

int Win32Dialogs::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  const win32::ModalDisabler disabler(nullptr, GetActiveWindow());
  return MessageBoxA(owner_, text.c_str(), caption.c_str(), flags);
}

namespace {

// The file name buffer: the system's path limit with room to spare.
constexpr std::size_t kFileBufferSize = 1024;
constexpr std::size_t kMaxInitialName = 260;

constexpr const char* kChosenFileNotInCodePageText =
    "The path of the chosen file holds characters that this system's code page cannot "
    "represent.\rChoose a file in another folder.";

struct FileDialogContext {
  Win32Dialogs* dialogs;
  FileDialog* dialog;
  HWND placeBy;  // the window whose monitor the dialog comes up on
  bool save;
};

// The chosen path in the code page: exact, or its short form; for a file
// to save (which may not exist yet) only the folder may be shortened.
std::optional<std::string> ChosenPath(const std::wstring& path, bool save) {
  if (!save) return win32::InCodePage(path);
  const std::size_t slash = path.find_last_of(L"\\:");
  const std::optional<std::string> folder =
      slash == std::wstring::npos ? std::string() : win32::InCodePage(path.substr(0, slash + 1));
  bool exact = false;
  const std::string name =
      win32::Narrow(slash == std::wstring::npos ? path : path.substr(slash + 1), CP_ACP, &exact);
  if (!folder || !exact) return std::nullopt;
  return *folder + name;
}

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
bool FileMayBeAccepted(FileDialogContext& context, HWND dialog, const OPENFILENAMEW& ofn) {
  // The system has put the full path of the choice into the file buffer
  // by now (Wine's CDM_GETFILEPATH joins the folder to a typed full path).
  std::wstring wide;
  if (ofn.lpstrFile && ofn.lpstrFile[0] != L'\0') {
    wide = ofn.lpstrFile;
  } else {
    wchar_t path[kFileBufferSize] = {};
    SendMessageW(dialog, CDM_GETFILEPATH, kFileBufferSize, reinterpret_cast<LPARAM>(path));
    wide = path;
  }
  // Never a look-alike: a path the code page cannot hold is refused here,
  // and the dialog stays open.
  const std::optional<std::string> chosen = ChosenPath(wide, context.save);
  if (!chosen) {
    MessageBoxA(dialog, kChosenFileNotInCodePageText, kApplicationTitle, MB_ICONERROR);
    return false;
  }
  context.dialog->fileName = *chosen;
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
      const auto* ofn = reinterpret_cast<const OPENFILENAMEW*>(lParam);
      SetWindowLongPtrA(hook, DWLP_USER, static_cast<LONG_PTR>(ofn->lCustData));
      return FALSE;
    }
    if (message != WM_NOTIFY) return FALSE;
    auto* context = reinterpret_cast<FileDialogContext*>(GetWindowLongPtrA(hook, DWLP_USER));
    const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
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
  // Through the wide API: the chosen path comes back exactly, to be kept,
  // shortened or refused, never as the code page's look-alike.
  const auto wide = [](const std::string& text) { return win32::Widen(text, CP_ACP); };
  const std::wstring filter =
      dialog.filter.empty() ? std::wstring() : wide(FilterForSystem(dialog.filter));
  const std::wstring initialDir = wide(InitialDirForSystem(dialog.initialDir));
  const std::wstring title = wide(dialog.title), defaultExt = wide(dialog.defaultExt);
  std::vector<wchar_t> file(kFileBufferSize, L'\0');
  const std::wstring initialName = wide(dialog.fileName.substr(0, kMaxInitialName));
  initialName.copy(file.data(), std::min(initialName.size(), kMaxInitialName));

  // The monitor of the active form, or of the main window when none is.
  const HWND active = GetActiveWindow();
  FileDialogContext context{&dialogs, &dialog, active != nullptr ? active : owner, save};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = instance;
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_ENABLEHOOK;
  ofn.lpfnHook = FileDialogHook;
  ofn.lCustData = reinterpret_cast<LPARAM>(&context);

  const win32::ModalDisabler disabler(nullptr, GetActiveWindow());
  const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!chosen) return false;
  // The close check took it already; a choice the check never saw goes
  // through the same rule.
  const std::optional<std::string> path = ChosenPath(file.data(), save);
  if (!path) return false;
  dialog.fileName = *path;
  return true;
}

bool Win32Dialogs::ExecuteOpen(FileDialog& dialog) {
  return RunFileDialog(*this, instance_, owner_, dialog, false);
}

bool Win32Dialogs::ExecuteSave(FileDialog& dialog) {
  return RunFileDialog(*this, instance_, owner_, dialog, true);
}

}  // namespace qv
