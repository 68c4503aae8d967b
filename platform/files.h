// Files, paths and the user's folders.
#pragma once

#include <string>

namespace qv {

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  // True for an existing entry that is not a directory; false for an empty
  // name. Relative names are looked up in the current directory.
  virtual bool FileExists(const std::string& name) = 0;
  // Full path of the running program's file.
  virtual std::string OwnExecutablePath() = 0;
  // The current user's desktop directory; empty when the system has none.
  virtual std::string DesktopFolder() = 0;
};

// Everything up to and including the last backslash or colon; empty when
// there is none. The forward slash is not a separator.
std::string ExtractFilePath(const std::string& path);
// Everything after the last backslash or colon; the whole path when none.
std::string ExtractFileName(const std::string& path);

}  // namespace qv
