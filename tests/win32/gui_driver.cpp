#include "tests/win32/gui_driver.h"

#include <chrono>
#include <vector>

namespace qv::testing {
namespace {

std::vector<HWND> OwnTopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
          reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

std::string TextOf(HWND window) {
  char buffer[4096] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::string ClassOf(HWND window) {
  char buffer[256] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

HWND WaitForWindow(const std::string& className, const std::string& caption, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    for (HWND window : OwnTopLevelWindows()) {
      if (ClassOf(window) == className && (caption.empty() || TextOf(window) == caption)) {
        return window;
      }
    }
    Sleep(20);
  }
  return nullptr;
}

bool WaitUntilGone(HWND window, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 20) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return true;
    Sleep(20);
  }
  return false;
}

RECT RectInParent(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* locked = static_cast<const char*>(GlobalLock(data))) {
      text = locked;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

Driver::Driver(std::function<void(Driver&)> script)
    : thread_([this, script] {
        script(*this);
        if (!failures_.empty()) {
          for (HWND window : OwnTopLevelWindows()) {
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(window, WM_CLOSE, 0, 0);
          }
        }
      }) {}

Driver::~Driver() {
  Finish();
}

void Driver::Fail(const std::string& what) {
  failures_ += what + "\n";
}

const std::string& Driver::Finish() {
  if (thread_.joinable()) thread_.join();
  return failures_;
}

}  // namespace qv::testing
