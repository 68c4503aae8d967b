// Small RAII owners for the Win32 handles the platform layer opens, and the
// system's text for an error code.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace qv::win32 {

// A deleter that hands a handle to the function that closes it.
template <auto Close>
struct Closer {
  template <typename T>
  void operator()(T* handle) const noexcept {
    Close(handle);
  }
};

using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, Closer<RegCloseKey>>;
using UniqueHandle = std::unique_ptr<void, Closer<CloseHandle>>;
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, Closer<DestroyWindow>>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, Closer<DeleteObject>>;
// An icon made with LoadImage (without LR_SHARED).
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, Closer<DestroyIcon>>;

// Owns one reference to a COM interface and releases it.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* operator->() const { return object_; }
  T* Get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // Where a call puts the new reference it gives back; the old one is
  // released first.
  T** Put() {
    Reset();
    return &object_;
  }
  void Reset() {
    if (object_ != nullptr) object_->Release();
    object_ = nullptr;
  }

 private:
  T* object_ = nullptr;
};

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

// Loads every DLL the program needs later from the system folder only, never
// from the program's folder or the current one (SetDefaultDllDirectories,
// where Windows has it). The first thing every entry point does.
void RestrictDllSearchToSystem();

// FormatMessageA's text for a system error code, trimmed of the trailing
// line break and period; empty when the system has no text.
std::string SystemErrorText(std::uint32_t code);

// Raises ESystemError for a system error code, with the system's text.
[[noreturn]] void RaiseSystemError(std::uint32_t code);
// The same for GetLastError's code.
[[noreturn]] void RaiseLastError();

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
