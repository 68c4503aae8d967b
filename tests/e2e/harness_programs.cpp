// The programs: the tool started and ended as a process, the prefix's
// console programs run with their output captured, the files of a world,
// and the fixture that starts the tool for a test.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <cstdlib>
#include <memory>

#include "app/main_layout.h"
#include "harness.h"
#include "harness_internal.h"

namespace e2e {

using internal::Env;
using internal::Narrow;
using internal::UniqueHandle;
using internal::Widen;

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

// ---- Tool: the process ------------------------------------------------------

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

Tool Tool::Start(const std::wstring& exe) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    ADD_FAILURE() << "could not start " << Narrow(exe) << " (error " << GetLastError() << ")";
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

// ---- Files and the world ----------------------------------------------------

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

void PlantGhostscript() {
  CreateDirectoryA("C:\\gs", nullptr);
  CreateDirectoryA("C:\\gs\\gs8.50", nullptr);
  CreateDirectoryA("C:\\gs\\gs8.50\\bin", nullptr);
  UniqueHandle h(CreateFileA(kGsExe, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(h.get(), INVALID_HANDLE_VALUE) << "cannot create " << kGsExe;
  // A real 32-bit library, as the package needs.
  CopyFileOrFail(Env("QV_STANDIN32"), kGsDll);
  RegAdd(kSettingsKey, "GS_DLL", "REG_SZ", kGsDll);
  RegAdd(kSettingsKey, "GSWIN32C", "REG_SZ", kGsExe);
}

// ---- The fixture ------------------------------------------------------------

void ToolTest::SetUp() {
  PlantGhostscript();
  if (launch_ == Launch::kWindow) Start();
}

void ToolTest::TearDown() {
  if (main_ && tool_->Running()) Exit(*tool_, main_);
}

void ToolTest::Start(const std::string& folder) {
  tool_ = std::make_unique<Tool>(
      folder.empty() ? Tool::Start() : Tool::Start(Env("QV_TOOL"), SW_SHOWNORMAL, folder));
  main_ = tool_->WaitMainWindow();
  ASSERT_TRUE(static_cast<bool>(main_)) << "the main window did not come up";
  ASSERT_FALSE(tool_->FindMessageBox()) << "the start asked something";
}

void Exit(const Tool& tool, const Window& main) {
  EXPECT_FALSE(tool.FindMessageBox()) << "a message box is left over";
  main.Control(qv::kIdLMDButton3).Press();
  ASSERT_TRUE(tool.WaitExit(10s)) << "Exit did not end the program";
}

}  // namespace e2e
