#include "app/win32/main_window.h"

#include <utility>

#include "app/main_layout.h"
#include "platform/errors.h"

namespace qv {

namespace {

constexpr const char* kMainClassName = "QuorvinConfigMain";
// No WS_CLIPCHILDREN: the window paints the background inside the group
// box, which draws only its frame and caption.
constexpr DWORD kMainStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

bool IsReadOnlyEdit(int id) {
  return id == kIdEdit2 || id == kIdEdit3 || id == kIdEdit5 || id == kIdEdit6;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Platform& platform, IApplication& app,
                       Win32Dialogs& dialogs)
    : TableWindow(instance, dialogs, kMainClassName, ClassIcon::BigAndSmall, MainWindowControls()),
      platform_(platform),
      app_(app),
      dialogs_(dialogs) {}

MainWindow::~MainWindow() {
  Destroy();
}

void MainWindow::Create() {
  if (!CreateTable({kMainWindowCaption, kMainStyle, 0, win32::Scale(kMainWindowWidth, dpi_),
                    win32::Scale(kMainWindowHeight, dpi_), nullptr})) {
    throw ESystemError("The main window could not be created");
  }
}

LRESULT MainWindow::OnCreate() {
  try {
    CreateTableControls();
    const std::pair<Win32Control*, int> bindings[] = {
        {&edit2_, kIdEdit2},         {&edit3_, kIdEdit3},         {&edit4_, kIdEdit4},
        {&edit5_, kIdEdit5},         {&edit6_, kIdEdit6},         {&comboBox1_, kIdComboBox1},
        {&listBox1_, kIdListBox1},   {&checkBox1_, kIdCheckBox1}, {&checkBox2_, kIdCheckBox2},
        {&checkBox3_, kIdCheckBox3},
    };
    for (const auto& [control, id] : bindings) control->Bind(GetDlgItem(hwnd_, id));
    form_ = std::make_unique<TfrmMain>(
        platform_, app_, dialogs_,
        MainFormControls{edit2_, edit3_, edit4_, edit5_, edit6_, comboBox1_, listBox1_, checkBox1_,
                         checkBox2_, checkBox3_});
  } catch (const std::exception& error) {
    ShowException(dialogs_, error);
    return -1;
  }
  form_->closeWindow = [this] {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  };
  form_->showAbout = [this] {
    if (showAbout_) showAbout_();
  };
  // The start-up sequence runs before the window is first shown; its
  // messages and dialogs come up without an owner.
  form_->Commands().Execute([this] { form_->FormCreate(); });
  dialogs_.SetOwner(hwnd_);
  return 0;
}

void MainWindow::OnCommand(int id, int code, HWND control) {
  if (form_ == nullptr) return;
  if (id == IDOK) {
    // Enter, sent by the dialog manager (no control has this id): press
    // the focused push button, as a dialog would.
    HWND focus = control != nullptr ? control : GetFocus();
    if (focus == nullptr || GetParent(focus) != hwnd_) return;
    const LONG_PTR style = GetWindowLongPtrA(focus, GWL_STYLE) & BS_TYPEMASK;
    char className[16] = {};
    GetClassNameA(focus, className, sizeof className);
    if (lstrcmpiA(className, "Button") != 0 ||
        (style != BS_PUSHBUTTON && style != BS_DEFPUSHBUTTON)) {
      return;
    }
    id = GetDlgCtrlID(focus);
    code = BN_CLICKED;
  }
  if (code == BN_CLICKED) form_->ButtonClick(id);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      // Read-only fields keep the edit's window colour.
      if (IsReadOnlyEdit(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)))) {
        return StaticColours(wParam, GetSysColor(COLOR_WINDOWTEXT), COLOR_WINDOW);
      }
      break;
    case WM_ACTIVATE:
      KeepFocusOnActivate(wParam);
      return 0;
    case WM_DPICHANGED:
      return OnDpiChanged(wParam, lParam);
    case WM_CLOSE:
      // The close box is Exit; while another command runs, the close waits
      // for it to end.
      if (form_ != nullptr) {
        form_->ButtonClick(kIdLMDButton3);
      } else {
        DestroyWindow(hwnd_);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace qv
