// Files, the program's own path and the desktop folder on Windows.
#pragma once

#include <string>

#include "platform/files.h"

namespace qv {

namespace win32 {
// A path from the wide API in the system's code page, as ChoosePath
// decides: exact, its short form, or nullopt.
std::optional<std::string> InCodePage(const std::wstring& path);
}  // namespace win32

class Win32FileSystem : public IFileSystem {
 public:
  // codePage: the code page whose double-byte characters paths hold; the
  // system's ANSI code page (CP_ACP, 0) unless a test names another.
  explicit Win32FileSystem(unsigned codePage = 0) : codePage_(codePage) {}
  bool FileExists(const std::string& name) override;
  std::optional<std::string> OwnExecutablePath() override;
  std::string OwnExecutableUtf8() override;
  std::optional<std::string> DesktopFolder() override;
  std::string SystemFolder() override;
  std::string ToUtf8(const std::string& text) override;
  bool IsLeadByte(unsigned char byte) override;
  bool ReadBytes(const std::string& path, std::uint64_t offset, std::size_t count,
                 std::string* bytes) override;
  std::string NativeSystemFolder() override;
  std::uint16_t NativeMachine() override;
  void WriteFile(const std::string& path, const std::string& data) override;

 private:
  unsigned codePage_;
};

}  // namespace qv
