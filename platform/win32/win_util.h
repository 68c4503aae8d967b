// Small RAII owners for the Win32 handles the system services open, and the
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

}  // namespace qv::win32
