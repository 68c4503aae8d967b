#include "ui/win32/screen.h"

#include "ui/win32/gui_util.h"

namespace qv::win32 {

int ScreenDpi() {
  WindowDc screen(nullptr);
  const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

POINT CentreOnScreen(int width, int height) {
  return POINT{(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

}  // namespace qv::win32
