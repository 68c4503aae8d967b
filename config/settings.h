// The settings record the distiller's options are held in while the tool
// runs.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

struct SettingsRecord {
  std::string DefaultPdfFile;
  std::string DefaultPdfDir;
  std::string DefaultPdfAppend;
  std::int32_t PromptPdf = 0;      // non-zero: on
  std::int32_t FinishMessage = 0;  // non-zero: on
  std::int32_t LaunchPdfApp = 0;   // non-zero: on
};

}  // namespace qv

namespace qv {

class IFileSystem;

// The current user's desktop directory; empty when the system has none.
std::string QueryDesktopFolder(IFileSystem& files);

}  // namespace qv
