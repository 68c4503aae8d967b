// Files, the program's own path and the desktop folder on Windows.
#pragma once

#include "platform/files.h"

namespace qv {

class Win32FileSystem : public IFileSystem {
 public:
  bool FileExists(const std::string& name) override;
  std::string OwnExecutablePath() override;
  std::string DesktopFolder() override;
};

}  // namespace qv
