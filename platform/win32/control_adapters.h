// The form's control interfaces bound to real Win32 controls. Each adapter
// only holds the control's window handle; the window owns the control.
#pragma once

#include <windows.h>

#include <string>

#include "platform/controls.h"

namespace qv {

// An edit or label: the window text.
class Win32TextControl : public ITextControl {
 public:
  explicit Win32TextControl(HWND control = nullptr) : hwnd_(control) {}
  void Bind(HWND control) { hwnd_ = control; }
  std::string Text() const override;
  void SetText(const std::string& text) override;

 private:
  HWND hwnd_;
};

// A list box or a drop-down list.
class Win32ListControl : public IListControl {
 public:
  enum class Kind { ListBox, ComboBox };
  explicit Win32ListControl(Kind kind, HWND control = nullptr) : kind_(kind), hwnd_(control) {}
  void Bind(HWND control) { hwnd_ = control; }
  void Clear() override;
  void Add(const std::string& item) override;
  int Count() const override;
  std::string Item(int index) const override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;

 private:
  LRESULT Send(UINT listBoxMessage, UINT comboBoxMessage, WPARAM w, LPARAM l) const;

  Kind kind_;
  HWND hwnd_;
};

// A check box.
class Win32CheckControl : public ICheckControl {
 public:
  explicit Win32CheckControl(HWND control = nullptr) : hwnd_(control) {}
  void Bind(HWND control) { hwnd_ = control; }
  bool Checked() const override;
  void SetChecked(bool checked) override;

 private:
  HWND hwnd_;
};

}  // namespace qv
