#include "platform/win32/win_files.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/errors.h"
#include "platform/win32/win_util.h"

namespace qv {

bool Win32FileSystem::FileExists(const std::string& name) {
  if (name.empty()) return false;
  WIN32_FIND_DATAA data{};
  const HANDLE found = FindFirstFileA(name.c_str(), &data);
  if (found == INVALID_HANDLE_VALUE) return false;
  const win32::UniqueFind closer(found);
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string Win32FileSystem::OwnExecutablePath() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
}

std::string Win32FileSystem::DesktopFolder() {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &list)) || !list) {
    return std::string();
  }
  struct Freer {
    void operator()(LPITEMIDLIST p) const noexcept { CoTaskMemFree(p); }
  };
  const std::unique_ptr<ITEMIDLIST, Freer> owned(list);
  char buffer[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListA(owned.get(), buffer)) return std::string();
  return buffer;
}

std::string Win32FileSystem::SystemFolder() {
  char buffer[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

bool Win32FileSystem::IsLeadByte(unsigned char byte) {
  return IsDBCSLeadByteEx(codePage_, byte) != FALSE;
}

void Win32FileSystem::WriteFile(const std::string& path, const std::string& data) {
  win32::UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    win32::RaiseLastError();
  }
  DWORD written = 0;
  if (!::WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) ||
      written != data.size()) {
    win32::RaiseLastError();
  }
}

}  // namespace qv
