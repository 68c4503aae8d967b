// The form's control interfaces bound to real Win32 controls. Each adapter
// only holds the control's window handle; the window owns the control.
#pragma once

#include <windows.h>

#include <string>

#include "ui/controls.h"

namespace qv {

// The control an adapter is bound to once the window has created it.
class Win32Control {
 public:
  void Bind(HWND control) { hwnd_ = control; }

 protected:
  HWND hwnd_ = nullptr;
};

// An edit or label: the window text.
class Win32TextControl : public ITextControl, public Win32Control {
 public:
  std::string Text() const override;
  void SetText(const std::string& text) override;
};

// A list box or a drop-down list.
class Win32ListControl : public IListControl, public Win32Control {
 public:
  enum class Kind { ListBox, ComboBox };
  explicit Win32ListControl(Kind kind) : kind_(kind) {}
  void Clear() override;
  void Add(const std::string& item) override;
  int Count() const override;
  std::string Item(int index) const override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;

 private:
  LRESULT Send(UINT listBoxMessage, UINT comboBoxMessage, WPARAM w, LPARAM l) const;

  Kind kind_;
};

// A check box.
class Win32CheckControl : public ICheckControl, public Win32Control {
 public:
  bool Checked() const override;
  void SetChecked(bool checked) override;
};

}  // namespace qv
