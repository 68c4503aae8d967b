#include "ui/win32/control_adapters.h"

#include <vector>

#include "ui/win32/gui_util.h"

namespace qv {

std::string Win32TextControl::Text() const {
  return win32::WindowText(hwnd_);
}

void Win32TextControl::SetText(const std::string& text) {
  SetWindowTextA(hwnd_, text.c_str());
}

LRESULT Win32ListControl::Send(UINT listBoxMessage, UINT comboBoxMessage, WPARAM w,
                               LPARAM l) const {
  return SendMessageA(hwnd_, kind_ == Kind::ListBox ? listBoxMessage : comboBoxMessage, w, l);
}

void Win32ListControl::Clear() {
  Send(LB_RESETCONTENT, CB_RESETCONTENT, 0, 0);
}

void Win32ListControl::Add(const std::string& item) {
  Send(LB_ADDSTRING, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int Win32ListControl::Count() const {
  const LRESULT count = Send(LB_GETCOUNT, CB_GETCOUNT, 0, 0);
  return count < 0 ? 0 : static_cast<int>(count);
}

std::string Win32ListControl::Item(int index) const {
  if (index < 0 || index >= Count()) return std::string();
  const LRESULT length = Send(LB_GETTEXTLEN, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  const LRESULT copied = Send(LB_GETTEXT, CB_GETLBTEXT, static_cast<WPARAM>(index),
                              reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

int Win32ListControl::ItemIndex() const {
  const LRESULT index = Send(LB_GETCURSEL, CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void Win32ListControl::SetItemIndex(int index) {
  Send(LB_SETCURSEL, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool Win32CheckControl::Checked() const {
  return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32CheckControl::SetChecked(bool checked) {
  SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace qv
