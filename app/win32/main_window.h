// The main window: creates its controls from the layout table, binds them
// to TfrmMain and forwards every button click through the form's command
// boundary. The Options group's contents are siblings of the group box
// (placed at its origin plus their offset), so their clicks reach this
// window like every other button's.
#pragma once

#include <functional>
#include <memory>

#include "app/main.h"
#include "platform/platform.h"
#include "ui/win32/control_adapters.h"
#include "ui/win32/win_dialogs.h"
#include "ui/win32/window_base.h"

namespace qv {

class MainWindow : public TableWindow {
 public:
  MainWindow(HINSTANCE instance, Platform& platform, IApplication& app, Win32Dialogs& dialogs);
  ~MainWindow() override;

  // Creates the window hidden, with its controls, and runs the start-up
  // sequence before returning. Raises ESystemError when the window cannot
  // be created.
  void Create();

  // What the About button shows.
  void SetShowAbout(std::function<void()> showAbout) { showAbout_ = std::move(showAbout); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnCreate();
  void OnCommand(int id, int code, HWND control);

  Platform& platform_;
  IApplication& app_;
  Win32Dialogs& dialogs_;

  Win32TextControl edit2_, edit3_, edit4_, edit5_, edit6_;
  Win32ListControl comboBox1_{Win32ListControl::Kind::ComboBox};
  Win32ListControl listBox1_{Win32ListControl::Kind::ListBox};
  Win32CheckControl checkBox1_, checkBox2_, checkBox3_;
  std::unique_ptr<TfrmMain> form_;
  std::function<void()> showAbout_;
};

}  // namespace qv
