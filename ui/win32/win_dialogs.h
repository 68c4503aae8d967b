// Message boxes, the simple message window, the input dialog and the file
// dialogs on Windows.
#pragma once

#include <windows.h>

// <windows.h> maps MessageBox to MessageBoxA; the interface method keeps its
// own name in every translation unit, with or without <windows.h>.
#ifdef MessageBox
#undef MessageBox
#endif

#include "ui/dialogs.h"

namespace qv {

class Win32Dialogs : public IDialogs {
 public:
  // instance: the module whose resources (icon) the dialogs use.
  explicit Win32Dialogs(HINSTANCE instance) : instance_(instance) {}

  // The application window that owns message boxes and file dialogs: the
  // main window once it exists, none before.
  void SetOwner(HWND owner) { owner_ = owner; }

  int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
  void ShowMessage(const std::string& text) override;
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
  bool ExecuteOpen(FileDialog& dialog) override;
  bool ExecuteSave(FileDialog& dialog) override;

 private:
  HINSTANCE instance_;
  HWND owner_ = nullptr;
};

}  // namespace qv
