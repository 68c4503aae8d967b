// The form's control interfaces bound to real Win32 controls. Each adapter
// only holds the control's window handle; the window owns the control.
#pragma once

#include "platform/controls.h"
#include "platform/win32/win_dialogs.h"

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

#include <memory>
#include <type_traits>
#include <vector>

#include "app/main_layout.h"
#include "platform/win32/win_util.h"

namespace qv {

// The owner of an icon made with LoadImage (without LR_SHARED).
struct IconDeleter {
  void operator()(HICON icon) const {
    if (icon != nullptr) DestroyIcon(icon);
  }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The screen's dots per inch, and a length at 96 DPI scaled to it.
int ScreenDpi();
inline int Scale(int value, int dpi) {
  return MulDiv(value, dpi, 96);
}

// The fonts one window's controls use, created for its DPI.
class FontSet {
 public:
  explicit FontSet(int dpi);
  HFONT Get(FontKind kind) const;

 private:
  win32::UniqueFont normal_, title_, aboutTitle_, credit_, link_;
};

// The application icon at a given size, owned by the caller.
IconHandle LoadAppIcon(HINSTANCE instance, int size);

// Creates the controls of a table as children of parent, in creation order
// (which is the tab order), at their positions scaled to dpi. A group
// box's contents become siblings of the group box, placed at the group
// box's origin plus their offset, so their notifications reach parent
// directly. Images show icon. Raises ESystemError when a control cannot be
// created.
void CreateControls(HWND parent, HINSTANCE instance, const std::vector<ControlEntry>& controls,
                    const FontSet& fonts, HICON icon, int dpi);

// A registered window class, unregistered when its owner ends.
class WindowClass {
 public:
  WindowClass(HINSTANCE instance, const WNDCLASSEXA& description);
  ~WindowClass();
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  const char* Name() const { return name_; }

 private:
  HINSTANCE instance_;
  const char* name_;
  bool registered_;
};

// The base of our top-level windows: one HandleMessage per window, with
// every exception stopped at the window procedure and shown by the error
// display.
class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  HWND Handle() const { return hwnd_; }

  // The window procedure of every class built on this base.
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  explicit WindowBase(IDialogs& dialogs) : errorDialogs_(dialogs) {}
  // Destroys the window if it still exists; messages it receives from
  // here on go to the default procedure.
  virtual ~WindowBase();
  void Destroy();

  // Creates the window; lpParam carries this object to the procedure.
  HWND CreateBase(DWORD exStyle, const char* className, const char* caption, DWORD style, int x,
                  int y, int width, int height, HWND owner, HINSTANCE instance);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // WM_ACTIVATE as a dialog handles it: the control that had the keyboard
  // focus gets it back, or the first in the tab order.
  void KeepFocusOnActivate(WPARAM wParam);

  HWND hwnd_ = nullptr;

 private:
  IDialogs& errorDialogs_;
  HWND lastFocus_ = nullptr;
};

}  // namespace qv
