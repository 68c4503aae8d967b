#include "ui/win32/screen.h"

#include "ui/win32/gui_util.h"

namespace qv::win32 {

namespace {

// The functions of Windows 10 and later are looked up when first needed,
// so the program still starts on the systems before it.
template <typename Function>
Function User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 != nullptr ? reinterpret_cast<Function>(
                                 reinterpret_cast<void (*)()>(GetProcAddress(user32, name)))
                           : nullptr;
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using ParametersForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

}  // namespace

int ScreenDpi() {
  WindowDc screen(nullptr);
  const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjust = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
  if (dpi == ScreenDpi() || adjust == nullptr ||
      !adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
}

LOGFONTA MessageFontForDpi(int dpi) {
  LOGFONTA font{};
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    font = metrics.lfMessageFont;
  } else {
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  }
  const int systemDpi = ScreenDpi();
  if (dpi == systemDpi) return font;
  // Another monitor's scale: the system's height for it, or ours.
  static const auto forDpi = User32Function<ParametersForDpiFunction>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW scaled{};
  scaled.cbSize = sizeof scaled;
  if (forDpi != nullptr &&
      forDpi(SPI_GETNONCLIENTMETRICS, sizeof scaled, &scaled, 0, static_cast<UINT>(dpi))) {
    font.lfHeight = scaled.lfMessageFont.lfHeight;
  } else {
    font.lfHeight = MulDiv(font.lfHeight, dpi, systemDpi);
  }
  return font;
}

POINT PlaceOnScreen(int width, int height) {
  const Corner centred = CentredWindowCorner(width, height, GetSystemMetrics(SM_CXSCREEN),
                                             GetSystemMetrics(SM_CYSCREEN));
  const RECT where{centred.x, centred.y, centred.x + width, centred.y + height};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromRect(&where, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return POINT{centred.x, centred.y};
  }
  const RECT& work = monitor.rcWork;
  const Corner at =
      PlaceInWorkArea(centred, width, height, Box{work.left, work.top, work.right, work.bottom});
  return POINT{at.x, at.y};
}

int TakeSuggestedRect(HWND window, WPARAM wParam, LPARAM lParam) {
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  const int dpi = HIWORD(wParam);
  return dpi > 0 ? dpi : ScreenDpi();
}

}  // namespace qv::win32
