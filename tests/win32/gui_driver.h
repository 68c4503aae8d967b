// Drives this process's modal windows from a second thread while the test's
// own thread sits in the dialog, as a user would: find the window, read its
// texts, type and press buttons.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace qv::testing {

// A visible top-level window of this process with the class and, when not
// empty, the caption; null when none appears within the time-out.
HWND WaitForWindow(const std::string& className, const std::string& caption = std::string(),
                   int timeoutMs = 10000);
// Waits until the window is gone; false when it stays.
bool WaitUntilGone(HWND window, int timeoutMs = 10000);

std::string TextOf(HWND window);
std::string ClassOf(HWND window);
// A control's rectangle in its parent's client coordinates.
RECT RectInParent(HWND control);
std::string ClipboardText();

// Runs script on a second thread for the lifetime of the object. Failures
// are reported back as text (GoogleTest assertions are for the test's own
// thread); when the script fails, every window of the process is cancelled
// so the dialog under test returns.
class Driver {
 public:
  explicit Driver(std::function<void(Driver&)> script);
  ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  void Fail(const std::string& what);
  // Joins the thread; the failures found, empty when none.
  const std::string& Finish();

 private:
  std::string failures_;
  std::thread thread_;
};

}  // namespace qv::testing
