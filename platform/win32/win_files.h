// Files, the program's own path and the desktop folder on Windows.
#pragma once

#include "platform/files.h"

namespace qv {

class Win32FileSystem : public IFileSystem {
 public:
  // codePage: the code page whose double-byte characters paths hold; the
  // system's ANSI code page (CP_ACP, 0) unless a test names another.
  explicit Win32FileSystem(unsigned codePage = 0) : codePage_(codePage) {}
  bool FileExists(const std::string& name) override;
  std::string OwnExecutablePath() override;
  std::string DesktopFolder() override;
  std::string SystemFolder() override;
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
