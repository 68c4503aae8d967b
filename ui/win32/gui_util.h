// What the window toolkit adds to the system's owners: windows, fonts,
// icons and device contexts, window text, the clipboard and the disabling
// of other windows while a modal one is open.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/win32/win_util.h"

namespace qv::win32 {

using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, Closer<DestroyWindow>>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, Closer<DeleteObject>>;
// An icon made with LoadImage (without LR_SHARED).
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, Closer<DestroyIcon>>;

// A device context of a window (or the screen) from GetDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context and puts the old one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The text of a window (GetWindowTextA).
std::string WindowText(HWND window);

// Puts text on the clipboard as CF_TEXT; false when the clipboard is busy.
bool CopyTextToClipboard(HWND owner, const std::string& text);

// While a modal window is open: every other enabled top-level window of
// this thread is disabled, and afterwards enabled again, and the window that
// was active before is activated again.
class ModalDisabler {
 public:
  // keep: the modal window itself (may be null when it does not exist yet).
  ModalDisabler(HWND keep, HWND previousActive);
  ~ModalDisabler();
  ModalDisabler(const ModalDisabler&) = delete;
  ModalDisabler& operator=(const ModalDisabler&) = delete;

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM self) noexcept;

  HWND keep_;
  std::vector<HWND> disabled_;
  HWND previousActive_;
};

// The average width of the letters A to Z and a to z and the height of the
// font selected into dc: the base of dialog units.
SIZE DialogBaseUnits(HDC dc);

}  // namespace qv::win32
