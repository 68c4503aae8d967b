#include "platform/win32/win_files.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/errors.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win_util.h"

namespace qv {

namespace win32 {

std::optional<std::string> InCodePage(const std::wstring& path) {
  bool exact = false;
  const std::string narrow = Narrow(path, CP_ACP, &exact);
  // The short form is asked for only when it could serve.
  std::string shortNarrow;
  bool shortExact = false;
  if (!exact) {
    std::wstring shortPath(MAX_PATH, L'\0');
    DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), MAX_PATH);
    if (length >= MAX_PATH) {
      shortPath.resize(length);
      length = GetShortPathNameW(path.c_str(), shortPath.data(), length);
    }
    if (length > 0 && length < shortPath.size()) {
      shortNarrow = Narrow(shortPath.substr(0, length), CP_ACP, &shortExact);
    }
  }
  return ChoosePath(narrow, exact, shortNarrow, shortExact);
}

}  // namespace win32

namespace {

// The running program's path in UTF-16, however long.
std::wstring OwnExecutableWide() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return buffer.substr(0, length);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& name) {
  // The exact name only: "?" and "*" are wildcards to the find functions
  // and name no file here.
  if (name.empty() || name.find_first_of("?*") != std::string::npos) return false;
  const DWORD attributes = GetFileAttributesW(win32::Widen(name, CP_ACP).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> Win32FileSystem::OwnExecutablePath() {
  return win32::InCodePage(OwnExecutableWide());
}

std::string Win32FileSystem::OwnExecutableUtf8() {
  return win32::Narrow(OwnExecutableWide(), CP_UTF8);
}

std::optional<std::string> Win32FileSystem::DesktopFolder() {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &list)) || !list) {
    return std::string();
  }
  struct Freer {
    void operator()(LPITEMIDLIST p) const noexcept { CoTaskMemFree(p); }
  };
  const std::unique_ptr<ITEMIDLIST, Freer> owned(list);
  wchar_t buffer[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListW(owned.get(), buffer)) return std::string();
  return win32::InCodePage(buffer);
}

std::string Win32FileSystem::ToUtf8(const std::string& text) {
  return win32::Narrow(win32::Widen(text, CP_ACP), CP_UTF8);
}

std::string Win32FileSystem::SystemFolder() {
  char buffer[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

bool Win32FileSystem::IsLeadByte(unsigned char byte) {
  return IsDBCSLeadByteEx(codePage_, byte) != FALSE;
}

bool Win32FileSystem::ReadBytes(const std::string& path, std::uint64_t offset, std::size_t count,
                                std::string* bytes) {
  bytes->clear();
  win32::UniqueHandle file(CreateFileW(win32::Widen(path, CP_ACP).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return false;
  }
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  std::string data(count, '\0');
  DWORD read = 0;
  if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) ||
      !ReadFile(file.get(), data.data(), static_cast<DWORD>(count), &read, nullptr)) {
    return false;
  }
  data.resize(read);
  *bytes = std::move(data);
  return true;
}

std::string Win32FileSystem::NativeSystemFolder() {
  std::string folder = SystemFolder();
#ifndef _WIN64
  // A 32-bit program on 64-bit Windows sees SysWOW64 as System32;
  // Sysnative is the real one.
  BOOL wow64 = FALSE;
  if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
    char windows[MAX_PATH + 1] = {};
    const UINT length = GetSystemWindowsDirectoryA(windows, sizeof windows);
    if (length > 0 && length < sizeof windows)
      folder = std::string(windows, length) + "\\Sysnative";
  }
#endif
  return folder;
}

std::uint16_t Win32FileSystem::NativeMachine() {
  // IsWow64Process2 (Windows 10 1511 and later) tells the machine even
  // under x64 emulation on ARM64; before it, the native system information.
  using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  if (const HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
    const auto isWow64Process2 = reinterpret_cast<IsWow64Process2Fn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process2")));
    USHORT process = 0, native = 0;
    if (isWow64Process2 && isWow64Process2(GetCurrentProcess(), &process, &native)) return native;
  }
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  switch (info.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_AMD64:
      return kMachineAmd64;
    case PROCESSOR_ARCHITECTURE_ARM64:
      return kMachineArm64;
    default:
      return kMachineX86;
  }
}

void Win32FileSystem::WriteFile(const std::string& path, const std::string& data) {
  // Written into a temporary file beside the target, then moved over it
  // whole: a write that fails halfway (a full disk, a share that drops)
  // leaves the old file as it was. The temporary file's name is the
  // target's with this process's number, in the same folder, so the move
  // is a rename on one volume.
  const std::wstring target = win32::Widen(path, CP_ACP);
  const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  DWORD error = ERROR_SUCCESS;
  {
    win32::UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
      file.release();
      win32::RaiseLastError();
    }
    DWORD written = 0;
    const bool whole =
        ::WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
        written == data.size() && FlushFileBuffers(file.get());
    // A short write that reports no error has found the disk full.
    if (!whole) error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_DISK_FULL;
  }
  if (error == ERROR_SUCCESS && !MoveFileExW(temporary.c_str(), target.c_str(),
                                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    DeleteFileW(temporary.c_str());
    win32::RaiseSystemError(error);
  }
}

}  // namespace qv
