#include "about/win32/about_window.h"

#include "platform/errors.h"

namespace qv {

constexpr const char* kAboutClassName = "QuorvinConfigAbout";
constexpr DWORD kAboutStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

AboutWindow::AboutWindow(HINSTANCE instance, IProcessRunner& processes, IDialogs& dialogs)
    : TableWindow(instance, dialogs, kAboutClassName, ClassIcon::SmallOnly, AboutWindowControls()),
      processes_(processes) {}

AboutWindow::~AboutWindow() {
  Destroy();
}

void AboutWindow::Create(HWND owner) {
  RECT frame{0, 0, win32::Scale(kAboutClientWidth, dpi_), win32::Scale(kAboutClientHeight, dpi_)};
  win32::AdjustWindowRectForDpi(frame, kAboutStyle, 0, dpi_);
  if (!CreateTable({kAboutCaption, kAboutStyle, 0, frame.right - frame.left,
                    frame.bottom - frame.top, owner})) {
    throw ESystemError("The About window could not be created");
  }
}

void AboutWindow::Show() {
  if (hwnd_ == nullptr) return;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

LRESULT AboutWindow::OnCreate() {
  try {
    CreateTableControls();
    label2_.Bind(GetDlgItem(hwnd_, kIdAboutLabel2));
    form_ = std::make_unique<TfrmAbout>(processes_, AboutFormControls{label2_});
  } catch (const std::exception& error) {
    ShowException(errorDialogs_, error);
    return -1;
  }
  form_->closeWindow = [this] { ShowWindow(hwnd_, SW_HIDE); };
  form_->ownerWindow = reinterpret_cast<std::uintptr_t>(hwnd_);
  return 0;
}

bool AboutWindow::IsLink(HWND control) const {
  const int id = GetDlgCtrlID(control);
  return GetParent(control) == hwnd_ && (id == kIdAboutLabel4 || id == kIdAboutLabel7);
}

// An error a handler of the form raises is shown by the window procedure,
// which then returns 0, as every case here does.
LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_ACTIVATE:
      KeepFocusOnActivate(wParam);
      if (LOWORD(wParam) != WA_INACTIVE && form_ != nullptr) form_->FormActivate();
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const bool clicked = HIWORD(wParam) == STN_CLICKED;
      if (form_ == nullptr) return 0;
      // OK, and Enter and Esc as the dialog manager sends them.
      if (id == kIdAboutLMDButton1 || id == IDOK || id == IDCANCEL) form_->LMDButton1Click();
      if (id == kIdAboutLabel4 && clicked) form_->Label4Click();
      if (id == kIdAboutLabel7 && clicked) form_->Label7Click();
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      if (IsLink(reinterpret_cast<HWND>(lParam))) {
        return StaticColours(wParam, RGB(0, 0, 255), COLOR_BTNFACE);
      }
      break;
    case WM_SETCURSOR:
      if (IsLink(reinterpret_cast<HWND>(wParam))) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        return TRUE;
      }
      break;
    case WM_DPICHANGED:
      return OnDpiChanged(wParam, lParam);
    case WM_CLOSE:
      // Closing the About window only hides it.
      ShowWindow(hwnd_, SW_HIDE);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace qv
