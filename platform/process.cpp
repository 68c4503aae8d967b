#include "platform/process.h"

#include <algorithm>

namespace qv {

std::string TrimSystemText(const std::string& text) {
  const auto kept = std::find_if(text.rbegin(), text.rend(), [](char c) {
    return static_cast<unsigned char>(c) > ' ' && c != '.';
  });
  return std::string(text.begin(), kept.base());
}

void OpenLink(IProcessRunner& processes, std::uintptr_t owner, const std::string& operation,
              const std::string& file, const std::string& parameters, const std::string& directory,
              int showCommand) {
  if (processes.IsElevated() &&
      processes.OpenAsDesktopUser(operation, file, parameters, directory, showCommand)) {
    return;
  }
  processes.ShellOpen(owner, operation, file, parameters, directory, showCommand);
}

}  // namespace qv
