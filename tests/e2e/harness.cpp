#include "harness.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <type_traits>

namespace e2e {

namespace {

constexpr UINT kSendTimeoutMs = 5000;

struct HandleCloser {
  void operator()(HANDLE h) const {
    if (h != nullptr && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

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

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

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

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

namespace {

// A pipe whose write end a child inherits; large enough that a child's
// output never waits for the reader.
struct Pipe {
  UniqueHandle read, write;
  bool Open() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE r = nullptr, w = nullptr;
    if (!CreatePipe(&r, &w, &inherit, 1 << 16)) return false;
    read.reset(r);
    write.reset(w);
    SetHandleInformation(r, HANDLE_FLAG_INHERIT, 0);
    return true;
  }
  std::string ReadAll() const {
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(read.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
      text.append(buffer, got);
    return text;
  }
};

}  // namespace

int RunProgram(const std::string& commandLine, std::string* output, std::string* errors) {
  return RunProgram(Widen(commandLine), output, errors);
}

int RunProgram(const std::wstring& commandLine, std::string* output, std::string* errors) {
  Pipe out, err;
  if (!out.Open() || (errors != nullptr && !err.Open())) {
    ADD_FAILURE() << "CreatePipe failed";
    return -1;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out.write.get();
  startup.hStdError = errors != nullptr ? err.write.get() : out.write.get();
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION info{};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &info)) {
    ADD_FAILURE() << "could not start: " << Narrow(commandLine) << " (error " << GetLastError()
                  << ")";
    return -1;
  }
  UniqueHandle process(info.hProcess), thread(info.hThread);
  out.write.reset();  // the child holds the only write ends now
  err.write.reset();
  const std::string text = out.ReadAll();
  if (errors != nullptr) *errors = err.ReadAll();
  WaitForSingleObject(info.hProcess, 30000);
  DWORD code = 1;
  GetExitCodeProcess(info.hProcess, &code);
  if (output != nullptr) *output = text;
  return static_cast<int>(code);
}

namespace {

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

// ---- Tool -------------------------------------------------------------

Tool Tool::Start(int showCommand) {
  const std::string exe = Env("QV_TOOL");
  if (exe.empty()) {
    ADD_FAILURE() << "QV_TOOL does not name the program under test";
    return Tool(nullptr, 0);
  }
  return Start(exe, showCommand);
}

Tool Tool::Start(const std::string& exe, int showCommand, const std::string& folder) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION info{};
  std::string commandLine = "\"" + exe + "\"";
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    ADD_FAILURE() << "could not start " << exe << " (error " << GetLastError() << ")";
    return Tool(nullptr, 0);
  }
  CloseHandle(info.hThread);
  return Tool(info.hProcess, info.dwProcessId);
}

Tool::Tool(Tool&& other) noexcept : process_(other.process_), pid_(other.pid_) {
  other.process_ = nullptr;
  other.pid_ = 0;
}

Tool::~Tool() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool Tool::Running() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Tool::WaitExit(Timeout timeout, DWORD* exitCode) const {
  if (process_ == nullptr) return false;
  if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return false;
  }
  if (exitCode != nullptr) GetExitCodeProcess(process_, exitCode);
  return true;
}

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

namespace {

// A file dialog's file name box: an edit (edt1) or a combo box (cmb13).
bool HasFileNameBox(const Window& dialog) {
  return dialog.Control(0x480) || dialog.Control(0x47C);
}

}  // namespace

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

// ---- Registry and world -------------------------------------------------

namespace {

// One line of reg.exe's listing: "    name    REG_TYPE    data".
bool ParseRegLine(std::string line, std::string* name, RegValue* value) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  const size_t start = line.find_first_not_of(' ');
  if (start == std::string::npos) return false;
  const size_t typeAt = line.find("    REG_", start);
  if (typeAt == std::string::npos) return false;
  *name = line.substr(start, typeAt - start);
  const size_t typeStart = typeAt + 4;
  const size_t typeEnd = line.find(' ', typeStart);
  value->found = true;
  value->type = line.substr(typeStart, typeEnd - typeStart);
  value->data.clear();
  if (typeEnd != std::string::npos) {
    const size_t dataStart = line.find_first_not_of(' ', typeEnd);
    if (dataStart != std::string::npos) value->data = line.substr(dataStart);
  }
  return true;
}

}  // namespace

RegValue RegQuery(const std::string& key, const std::string& name) {
  std::string output;
  const int code = RunProgram("reg.exe query \"" + key + "\" /v \"" + name + "\" /reg:32", &output);
  if (code != 0) return RegValue();
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::string found;
    RegValue value;
    if (ParseRegLine(line, &found, &value) && lstrcmpiA(found.c_str(), name.c_str()) == 0)
      return value;
  }
  return RegValue();
}

void RegAdd(const std::string& key, const std::string& name, const std::string& type,
            const std::string& data) {
  std::string output;
  const int code = RunProgram("reg.exe add \"" + key + "\" /v \"" + name + "\" /t " + type +
                                  " /d \"" + data + "\" /reg:32 /f",
                              &output);
  EXPECT_EQ(code, 0) << "reg add " << key << " " << name << ": " << output;
}

void PlantGhostscript() {
  CreateDirectoryA("C:\\gs", nullptr);
  CreateDirectoryA("C:\\gs\\gs8.50", nullptr);
  CreateDirectoryA("C:\\gs\\gs8.50\\bin", nullptr);
  for (const char* file : {kGsExe, kGsDll}) {
    UniqueHandle h(CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(h.get(), INVALID_HANDLE_VALUE) << "cannot create " << file;
  }
  RegAdd(kSettingsKey, "GS_DLL", "REG_SZ", kGsDll);
  RegAdd(kSettingsKey, "GSWIN32C", "REG_SZ", kGsExe);
}

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

// ---- InputDialogWindow ----------------------------------------------------

namespace {
// The input dialog's prompt and edit identifiers.
constexpr int kInputPromptId = 100;
constexpr int kInputEditId = 101;
}  // namespace

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

InputDialogWindow Tool::WaitInputDialog(const std::string& caption, Timeout timeout) const {
  return InputDialogWindow(WaitWindow(caption, "QvInputDialog", timeout).Handle());
}

namespace {

BOOL CALLBACK CountChild(HWND, LPARAM param) {
  ++*reinterpret_cast<size_t*>(param);
  return TRUE;
}

}  // namespace

bool Tool::ChildRunning(const std::string& exeName) const {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.get() == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    if (entry.th32ParentProcessID == pid_ && lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0) {
      return true;
    }
  }
  return false;
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

// ---- Registry listings and files -----------------------------------------

std::string RegQueryKeyText(const std::string& key) {
  std::string output;
  if (RunProgram("reg.exe query \"" + key + "\" /reg:32", &output) != 0) return std::string();
  return output;
}

std::vector<std::pair<std::string, RegValue>> RegQueryKey(const std::string& key) {
  std::vector<std::pair<std::string, RegValue>> values;
  std::istringstream lines(RegQueryKeyText(key));
  std::string line;
  while (std::getline(lines, line)) {
    std::string name;
    RegValue value;
    if (ParseRegLine(line, &name, &value)) values.emplace_back(name, value);
  }
  return values;
}

std::string ToolFolder() {
  const std::string exe = Env("QV_TOOL");
  return exe.substr(0, exe.find_last_of('\\') + 1);
}

void CopyFileOrFail(const std::string& from, const std::string& to) {
  EXPECT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE))
      << "cannot copy " << from << " to " << to << " (error " << GetLastError() << ")";
}

void ReplaceSystemNet() {
  const char* slow = std::getenv("QV_SLOW_PROGRAM");
  ASSERT_NE(slow, nullptr) << "QV_SLOW_PROGRAM does not name the sleeping program";
  char system[MAX_PATH + 1] = {};
  GetSystemDirectoryA(system, sizeof system);
  CopyFileOrFail(slow, std::string(system) + "\\net.exe");
  // Wine runs its own net.exe from the system folder unless told otherwise.
  std::string output;
  ASSERT_EQ(RunProgram("reg.exe add HKCU\\Software\\Wine\\DllOverrides /v net.exe /t REG_SZ "
                       "/d native /f",
                       &output),
            0)
      << output;
}

void CreateEmptyFile(const std::string& path) {
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  }
  UniqueHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_NE(h.get(), INVALID_HANDLE_VALUE) << "cannot create " << path;
}

}  // namespace e2e
