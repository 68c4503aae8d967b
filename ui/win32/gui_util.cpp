#include "ui/win32/gui_util.h"

#include <cstring>
#include <vector>

namespace qv::win32 {

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

bool CopyTextToClipboard(HWND owner, const std::string& text) {
  std::unique_ptr<void, Closer<GlobalFree>> memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  if (!memory) return false;
  void* locked = GlobalLock(memory.get());
  if (locked == nullptr) return false;
  std::memcpy(locked, text.c_str(), text.size() + 1);
  GlobalUnlock(memory.get());
  if (!OpenClipboard(owner)) return false;
  struct ClipboardCloser {
    ~ClipboardCloser() { CloseClipboard(); }
  } closer;
  EmptyClipboard();
  if (!SetClipboardData(CF_TEXT, memory.get())) return false;
  memory.release();  // the clipboard owns it now
  return true;
}

BOOL CALLBACK ModalDisabler::Disable(HWND window, LPARAM param) noexcept {
  auto* self = reinterpret_cast<ModalDisabler*>(param);
  if (window == self->keep_ || !IsWindowEnabled(window)) return TRUE;
  try {
    self->disabled_.push_back(window);
  } catch (...) {
    return FALSE;  // out of memory: leave the rest enabled
  }
  EnableWindow(window, FALSE);
  return TRUE;
}

ModalDisabler::ModalDisabler(HWND keep, HWND previousActive)
    : keep_(keep), previousActive_(previousActive) {
  EnumThreadWindows(GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
}

ModalDisabler::~ModalDisabler() {
  for (HWND window : disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  if (previousActive_ && IsWindow(previousActive_)) SetActiveWindow(previousActive_);
}

SIZE DialogBaseUnits(HDC dc) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE extent{};
  GetTextExtentPoint32A(dc, kLetters, 52, &extent);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  // The average over 52 letters, rounded to the nearest pixel.
  return SIZE{(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

}  // namespace qv::win32
