// The windows of the program under test: reading and driving controls,
// message boxes and dialogs, finding and waiting for the program's
// windows, and screenshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sstream>
#include <type_traits>

#include "harness.h"
#include "harness_internal.h"

namespace e2e {

using internal::Env;
using internal::Narrow;
using internal::Widen;

namespace {

constexpr UINT kSendTimeoutMs = 5000;

struct GdiDeleter {
  void operator()(HGDIOBJ o) const {
    if (o != nullptr) DeleteObject(o);
  }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;

struct DcDeleter {
  void operator()(HDC dc) const {
    if (dc != nullptr) DeleteDC(dc);
  }
};
using UniqueMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_ != nullptr) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

LRESULT SendW(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, w, l, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result)) {
    // A window that went away meanwhile has nothing to say; a live one
    // that does not answer is hanging.
    if (!IsWindow(hwnd)) return -1;
    ADD_FAILURE() << "window " << hwnd << " did not answer message 0x" << std::hex << message;
    return -1;
  }
  return static_cast<LRESULT>(result);
}

std::string WithoutAmpersands(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

struct EnumState {
  DWORD pid;
  bool visibleOnly;
  std::vector<Window>* out;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == state->pid && (!state->visibleOnly || IsWindowVisible(hwnd))) {
    state->out->push_back(Window(hwnd));
  }
  return TRUE;
}

// A file dialog's file name box: an edit (edt1) or a combo box (cmb13).
bool HasFileNameBox(const Window& dialog) {
  return dialog.Control(0x480) || dialog.Control(0x47C);
}

BOOL CALLBACK CountChild(HWND, LPARAM param) {
  ++*reinterpret_cast<size_t*>(param);
  return TRUE;
}

// The input dialog's prompt and edit identifiers.
constexpr int kInputPromptId = 100;
constexpr int kInputEditId = 101;

}  // namespace

// ---- Window -----------------------------------------------------------

std::string Window::Text() const {
  const LRESULT length = SendW(hwnd_, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return std::string();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendW(hwnd_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return Narrow(text);
}

std::string Window::ClassName() const {
  char name[256] = {};
  GetClassNameA(hwnd_, name, sizeof name);
  return name;
}

LONG Window::Style() const {
  return GetWindowLongA(hwnd_, GWL_STYLE);
}
bool Window::Visible() const {
  return IsWindowVisible(hwnd_) != FALSE;
}
bool Window::Enabled() const {
  return IsWindowEnabled(hwnd_) != FALSE;
}
bool Window::Minimized() const {
  return IsIconic(hwnd_) != FALSE;
}
int Window::Id() const {
  return GetDlgCtrlID(hwnd_);
}

RECT Window::ScreenRect() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r;
}

RECT Window::RectInParent() const {
  RECT r = ScreenRect();
  HWND parent = (Style() & WS_CHILD) ? GetParent(hwnd_) : nullptr;
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE Window::ClientSize() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

COLORREF Window::ClientPixel(int x, int y) const {
  POINT p{x, y};
  ClientToScreen(hwnd_, &p);
  ScreenDc screen;
  return GetPixel(screen.Get(), p.x, p.y);
}

Window Window::Control(int id) const {
  return Window(GetDlgItem(hwnd_, id));
}

Window Window::ChildByText(const std::string& text, const std::string& className) const {
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    Window w(child);
    if (!className.empty() && lstrcmpiA(w.ClassName().c_str(), className.c_str()) != 0) continue;
    if (WithoutAmpersands(w.Text()) == text) return w;
  }
  return Window();
}

std::vector<std::string> Window::Items() const {
  const bool combo = lstrcmpiA(ClassName().c_str(), "ComboBox") == 0;
  const LRESULT count = SendW(hwnd_, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  std::vector<std::string> items;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendW(hwnd_, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    const LRESULT copied =
        SendW(hwnd_, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    items.push_back(Narrow(text));
  }
  return items;
}

int Window::SelectedIndex() const {
  const bool combo = lstrcmpiA(ClassName().c_str(), "ComboBox") == 0;
  return static_cast<int>(SendW(hwnd_, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

void Window::SelectItem(int index) const {
  const bool combo = lstrcmpiA(ClassName().c_str(), "ComboBox") == 0;
  SendW(hwnd_, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool Window::Checked() const {
  return SendW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Window::Press() const {
  ASSERT_TRUE(IsWindow(hwnd_)) << "no such button";
  ASSERT_TRUE(Visible()) << "button '" << Text() << "' is hidden";
  ASSERT_TRUE(Enabled()) << "button '" << Text() << "' is disabled";
  PostMessageW(hwnd_, BM_CLICK, 0, 0);
}

void Window::Click() const {
  PostMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  PostMessageW(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
}

void Window::Key(WORD virtualKey) const {
  PostMessageW(hwnd_, WM_KEYDOWN, virtualKey, 1);
  PostMessageW(hwnd_, WM_KEYUP, virtualKey, 1 | (1u << 30) | (1u << 31));
}

void Window::SetText(const std::string& text) const {
  const std::wstring wide = Widen(text);
  SendW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void Window::RequestClose() const {
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Window::SystemCommand(WPARAM command) const {
  PostMessageW(hwnd_, WM_SYSCOMMAND, command, 0);
}

// ---- MessageBoxWindow -------------------------------------------------

std::string MessageBoxWindow::Text() const {
  return Control(0xFFFF).Text();
}

std::vector<std::string> MessageBoxWindow::Buttons() const {
  std::vector<std::string> buttons;
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    Window w(child);
    if (lstrcmpiA(w.ClassName().c_str(), "Button") == 0 && w.Visible()) {
      buttons.push_back(WithoutAmpersands(w.Window::Text()));
    }
  }
  return buttons;
}

void MessageBoxWindow::Press(const std::string& button) const {
  Window b = ChildByText(button, "Button");
  ASSERT_TRUE(static_cast<bool>(b))
      << "message box '" << Caption() << "' has no button '" << button << "'";
  b.Press();
}

void MessageBoxWindow::Answer(const std::string& button) const {
  if (hwnd_ == nullptr) return;
  Press(button);
  EXPECT_TRUE(WaitFor([&] { return !*this; }, 5s))
      << "message box '" << Caption() << "' stayed after " << button;
}

std::string MessageBoxWindow::IconColour() const {
  // The icon is the box's only visible static control without text.
  Window icon;
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    Window w(child);
    if (lstrcmpiA(w.ClassName().c_str(), "Static") == 0 && w.Visible() &&
        (w.Style() & SS_TYPEMASK) == SS_ICON) {
      icon = w;
    }
  }
  if (!icon) return "";
  SetForegroundWindow(hwnd_);
  Sleep(200);  // let it paint
  const RECT r = icon.ScreenRect();
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return "";
  ScreenDc screen;
  UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
  HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY);
  int red = 0, blue = 0, yellow = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = GetPixel(memory.get(), x, y);
      const int R = GetRValue(c), G = GetGValue(c), B = GetBValue(c);
      if (R > 160 && G < 100 && B < 100) ++red;
      if (B > 160 && R < 120) ++blue;
      if (R > 160 && G > 160 && B < 100) ++yellow;
    }
  }
  SelectObject(memory.get(), old);
  const int enough = width * height / 10;
  if (red >= enough && red >= blue && red >= yellow) return "red";
  if (yellow >= enough && yellow >= blue) return "yellow";
  if (blue >= enough) return "blue";
  return "";
}

// ---- FileDialogWindow -------------------------------------------------

void FileDialogWindow::Choose(const std::string& path) const {
  // The file name box: an edit (edt1), or a combo box (cmb13) whose text
  // is its edit's.
  Window name = Control(0x480);
  if (!name) name = Control(0x47C);
  ASSERT_TRUE(static_cast<bool>(name)) << "file dialog without a file name box";
  name.SetText(path);
  PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(hwnd_, IDOK)));
}

void FileDialogWindow::Cancel() const {
  PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(hwnd_, IDCANCEL)));
}

// ---- InputDialogWindow ----------------------------------------------------

std::string InputDialogWindow::Prompt() const {
  return Control(kInputPromptId).Text();
}

std::string InputDialogWindow::Value() const {
  return Control(kInputEditId).Text();
}

void InputDialogWindow::Accept(const std::string& value) const {
  const Window edit = Control(kInputEditId);
  ASSERT_TRUE(static_cast<bool>(edit)) << "input dialog without its edit";
  edit.SetText(value);
  AcceptAsIs();
}

void InputDialogWindow::AcceptAsIs() const {
  const Window ok = Control(IDOK);
  ASSERT_TRUE(static_cast<bool>(ok)) << "input dialog without OK";
  ok.Press();
}

void InputDialogWindow::Cancel() const {
  const Window cancel = Control(IDCANCEL);
  ASSERT_TRUE(static_cast<bool>(cancel)) << "input dialog without Cancel";
  cancel.Press();
}

// ---- Tool: the program's windows --------------------------------------------

std::vector<Window> Tool::TopLevelWindows(bool visibleOnly) const {
  std::vector<Window> windows;
  EnumState state{pid_, visibleOnly, &windows};
  EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&state));
  return windows;
}

Window Tool::WaitWindow(const std::string& caption, const std::string& className,
                        Timeout timeout) const {
  Window found;
  const bool ok = WaitFor(
      [&] {
        for (const Window& w : TopLevelWindows()) {
          if (w.Text() == caption &&
              (className.empty() || lstrcmpiA(w.ClassName().c_str(), className.c_str()) == 0)) {
            found = w;
            return true;
          }
        }
        return !Running();
      },
      timeout);
  if (!ok || !found) {
    std::ostringstream seen;
    for (const Window& w : TopLevelWindows())
      seen << " [" << w.ClassName() << " '" << w.Text() << "']";
    ADD_FAILURE() << "no window '" << caption << "'" << (Running() ? "" : " (the program ended)")
                  << "; visible:" << seen.str();
  }
  return found;
}

Window Tool::WaitMainWindow(Timeout timeout) const {
  return WaitWindow("Quorvin PDF - Configuration Tool", "QuorvinConfigMain", timeout);
}

Window Tool::FocusedControl() const {
  for (const Window& w : TopLevelWindows()) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(w.Handle(), nullptr), &info)) {
      return Window(info.hwndFocus);
    }
  }
  return Window();
}

MessageBoxWindow Tool::FindMessageBox() const {
  for (const Window& w : TopLevelWindows()) {
    if (w.ClassName() == "#32770" && w.Control(0xFFFF) && !HasFileNameBox(w)) {
      return MessageBoxWindow(w.Handle());
    }
  }
  return MessageBoxWindow();
}

MessageBoxWindow Tool::WaitMessageBox(Timeout timeout) const {
  MessageBoxWindow box;
  WaitFor(
      [&] {
        box = FindMessageBox();
        // A box caught while it is being made has no buttons yet.
        if (box && box.Buttons().empty()) box = MessageBoxWindow();
        if (box) {
          const std::string caption = box.Caption();
          const std::string text = box.Text();
          Sleep(150);
          if (!box) {
            std::printf("note: a message box came and went: '%s' '%s'\n", caption.c_str(),
                        text.c_str());
            box = MessageBoxWindow();
          }
        }
        return static_cast<bool>(box) || !Running();
      },
      timeout);
  if (!box) ADD_FAILURE() << "no message box came up" << (Running() ? "" : " (the program ended)");
  return box;
}

MessageBoxWindow Tool::ExpectMessageBox(const ExpectedBox& expected, Timeout timeout,
                                        const char* file, int line) const {
  const ::testing::ScopedTrace trace(file, line, "message box '" + expected.caption + "'");
  const MessageBoxWindow box = WaitMessageBox(timeout);
  if (!box) return box;
  EXPECT_EQ(box.Caption(), expected.caption);
  if (!expected.text.empty()) {
    EXPECT_EQ(box.Text(), expected.text);
  }
  if (expected.icon) {
    EXPECT_EQ(box.IconColour(), *expected.icon);
  }
  if (!expected.buttons.empty()) {
    EXPECT_EQ(box.Buttons(), expected.buttons);
  }
  return box;
}

void Tool::AnswerMessageBox(const ExpectedBox& expected, const std::string& button, Timeout timeout,
                            const char* file, int line) const {
  const MessageBoxWindow box = ExpectMessageBox(expected, timeout, file, line);
  const ::testing::ScopedTrace trace(file, line, "answering " + button);
  box.Answer(button);
}

FileDialogWindow Tool::WaitFileDialog(Timeout timeout) const {
  FileDialogWindow dialog;
  WaitFor(
      [&] {
        for (const Window& w : TopLevelWindows()) {
          if (w.ClassName() == "#32770" && HasFileNameBox(w)) dialog = FileDialogWindow(w.Handle());
        }
        return static_cast<bool>(dialog) || !Running();
      },
      timeout);
  if (!dialog)
    ADD_FAILURE() << "no file dialog came up" << (Running() ? "" : " (the program ended)");
  return dialog;
}

InputDialogWindow Tool::WaitInputDialog(const std::string& caption, Timeout timeout) const {
  return InputDialogWindow(WaitWindow(caption, "QvInputDialog", timeout).Handle());
}

size_t Tool::CountAllWindows() const {
  size_t count = 0;
  for (const Window& w : TopLevelWindows(false)) {
    ++count;
    // Every descendant, not only the direct children.
    EnumChildWindows(w.Handle(), &CountChild, reinterpret_cast<LPARAM>(&count));
  }
  return count;
}

// ---- Screenshots ------------------------------------------------------------

std::string SaveScreenshot(const std::string& name, const Window& only) {
  // Pictures go only where the scenario asks for them.
  const std::string folder = Env("QV_SHOTS");
  if (folder.empty()) return "";
  const std::string path = folder + "\\" + name + ".bmp";
  Sleep(300);  // let the last changes paint
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (only) area = only.ScreenRect();
  const int width = area.right - area.left, height = area.bottom - area.top;
  ScreenDc screen;
  UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) {
    ADD_FAILURE() << "no bitmap for the screenshot";
    return "";
  }
  HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY);
  SelectObject(memory.get(), old);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  const DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + size;
  info.bmiHeader.biSizeImage = size;
  std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!out) {
    ADD_FAILURE() << "cannot write " << path;
    return "";
  }
  std::fwrite(&file, sizeof file, 1, out.get());
  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out.get());
  std::fwrite(bits, 1, size, out.get());
  std::printf("screenshot: %s\n", path.c_str());
  return path;
}

}  // namespace e2e
