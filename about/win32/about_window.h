// The About window: created hidden once, shown without being modal by the
// main window's About button, hidden again by OK or its close box.
#pragma once

#include <memory>

#include "about/about.h"
#include "ui/win32/control_adapters.h"
#include "ui/win32/window_base.h"

namespace qv {

class AboutWindow : public TableWindow {
 public:
  AboutWindow(HINSTANCE instance, IProcessRunner& processes, IDialogs& dialogs);
  ~AboutWindow() override;

  // Creates the window hidden, owned by owner (it stays above the main
  // window and ends with it). Raises ESystemError on failure.
  void Create(HWND owner);
  // Shows the one About window and brings it forward.
  void Show();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnCreate();
  bool IsLink(HWND control) const;

  IProcessRunner& processes_;
  Win32TextControl label2_;
  std::unique_ptr<TfrmAbout> form_;
};

}  // namespace qv
