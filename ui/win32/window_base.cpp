#include "ui/win32/window_base.h"

#include <stdexcept>
#include <utility>

#include "platform/win32/win_util.h"
#include "ui/win32/screen.h"

namespace qv {

WNDCLASSEXA ClassDescription(HINSTANCE instance, const char* name, WNDPROC procedure,
                             ClassIcon icon) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  if (icon == ClassIcon::BigAndSmall) {
    wc.hIcon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  }
  if (icon != ClassIcon::None) {
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = name;
  return wc;
}

WindowClass::WindowClass(HINSTANCE instance, const WNDCLASSEXA& description)
    : instance_(instance),
      name_(description.lpszClassName),
      registered_(RegisterClassExA(&description) != 0) {
  if (!registered_ && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) win32::RaiseLastError();
}

WindowClass::~WindowClass() {
  if (registered_) UnregisterClassA(name_, instance_);
}

WindowBase::WindowBase(HINSTANCE instance, IDialogs& dialogs, const char* className, ClassIcon icon)
    : errorDialogs_(dialogs),
      instance_(instance),
      class_(instance, ClassDescription(instance, className, &WindowBase::Procedure, icon)) {}

TableWindow::TableWindow(HINSTANCE instance, IDialogs& dialogs, const char* className,
                         ClassIcon icon, const std::vector<ControlEntry>& controls)
    : WindowBase(instance, dialogs, className, icon),
      dpi_(win32::ScreenDpi()),
      fonts_(dpi_),
      image_(LoadAppIcon(instance, win32::Scale(32, dpi_))),
      controls_(controls) {}

bool TableWindow::CreateTable(const CentredWindow& window) {
  if (!CreateCentred(window)) return false;
  // A monitor's scale changed since log-on: the window is told as if it
  // had moved there.
  const int dpi = win32::WindowDpi(hwnd_);
  if (dpi != dpi_) {
    const int width = MulDiv(window.width, dpi, dpi_), height = MulDiv(window.height, dpi, dpi_);
    const POINT at = win32::PlaceOnScreen(width, height);
    const RECT suggested{at.x, at.y, at.x + width, at.y + height};
    SendMessageA(hwnd_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  }
  return true;
}

void TableWindow::CreateTableControls() {
  CreateControls(hwnd_, instance_, controls_, fonts_, image_.get(), dpi_);
}

LRESULT TableWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  const int dpi = win32::TakeSuggestedRect(hwnd_, wParam, lParam);
  FontSet fonts(dpi);
  win32::UniqueIcon image = LoadAppIcon(instance_, win32::Scale(32, dpi));
  LayOutControls(hwnd_, controls_, fonts, image.get(), dpi);
  // The controls show the new fonts and picture: the old ones go now.
  dpi_ = dpi;
  fonts_ = std::move(fonts);
  image_ = std::move(image);
  return 0;
}

WindowBase::~WindowBase() {
  Destroy();
}

void WindowBase::Destroy() {
  if (hwnd_ == nullptr) return;
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(std::exchange(hwnd_, nullptr));
}

bool WindowBase::CreateCentred(const CentredWindow& window) {
  const POINT at = win32::PlaceOnScreen(window.width, window.height);
  return CreateWindowExA(window.exStyle, class_.Name(), window.caption, window.style, at.x, at.y,
                         window.width, window.height, window.owner, nullptr, instance_,
                         this) != nullptr;
}

void WindowBase::KeepFocusOnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  if (HIWORD(wParam) != 0) return;  // minimised
  HWND target = lastFocus_;
  if (target == nullptr || !IsWindow(target) || !IsChild(hwnd_, target)) {
    target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  }
  if (target != nullptr) SetFocus(target);
}

LRESULT WindowBase::StaticColours(WPARAM dc, COLORREF text, int background) {
  SetTextColor(reinterpret_cast<HDC>(dc), text);
  SetBkColor(reinterpret_cast<HDC>(dc), GetSysColor(background));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

LRESULT CALLBACK WindowBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* self = static_cast<WindowBase*>(create->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& error) {
    ShowException(self->errorDialogs_, error);
  } catch (...) {
    ShowException(self->errorDialogs_, std::runtime_error("Unknown error"));
  }
  return 0;
}

}  // namespace qv
