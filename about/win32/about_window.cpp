#include "about/win32/about_window.h"

#include "platform/errors.h"

namespace qv {

namespace {

constexpr const char* kAboutClassName = "QuorvinConfigAbout";
constexpr DWORD kAboutStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, IProcessRunner& processes, IDialogs& dialogs)
    : WindowBase(dialogs),
      instance_(instance),
      processes_(processes),
      dialogs_(dialogs),
      dpi_(win32::ScreenDpi()),
      fonts_(dpi_),
      image_(LoadAppIcon(instance, win32::Scale(32, dpi_))),
      class_(instance, ClassDescription(instance, kAboutClassName, &AboutWindow::Procedure,
                                        ClassIcon::SmallOnly)) {}

AboutWindow::~AboutWindow() {
  Destroy();
}

void AboutWindow::Create(HWND owner) {
  RECT frame{0, 0, win32::Scale(kAboutClientWidth, dpi_), win32::Scale(kAboutClientHeight, dpi_)};
  AdjustWindowRectEx(&frame, kAboutStyle, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const POINT at = win32::CentreOnScreen(width, height);
  if (CreateBase(0, class_.Name(), kAboutCaption, kAboutStyle, at.x, at.y, width, height, owner,
                 instance_) == nullptr) {
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
    CreateControls(hwnd_, instance_, AboutWindowControls(), fonts_, image_.get(), dpi_);
    label2_.Bind(GetDlgItem(hwnd_, kIdAboutLabel2));
    form_ = std::make_unique<TfrmAbout>(processes_, AboutFormControls{label2_});
  } catch (const std::exception& error) {
    ShowException(dialogs_, error);
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

void AboutWindow::Run(void (TfrmAbout::*handler)()) {
  if (form_ == nullptr) return;
  try {
    ((*form_).*handler)();
  } catch (const std::exception& error) {
    ShowException(dialogs_, error);
  }
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_ACTIVATE:
      KeepFocusOnActivate(wParam);
      if (LOWORD(wParam) != WA_INACTIVE) Run(&TfrmAbout::FormActivate);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kIdAboutLMDButton1:
        case IDOK:      // Enter
        case IDCANCEL:  // Esc
          Run(&TfrmAbout::LMDButton1Click);
          return 0;
        case kIdAboutLabel4:
          if (HIWORD(wParam) == STN_CLICKED) Run(&TfrmAbout::Label4Click);
          return 0;
        case kIdAboutLabel7:
          if (HIWORD(wParam) == STN_CLICKED) Run(&TfrmAbout::Label7Click);
          return 0;
        default:
          return 0;
      }
    case WM_CTLCOLORSTATIC:
      if (IsLink(reinterpret_cast<HWND>(lParam))) {
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_SETCURSOR:
      if (IsLink(reinterpret_cast<HWND>(wParam))) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        return TRUE;
      }
      break;
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
