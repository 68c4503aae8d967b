#include "platform/process.h"

namespace qv {

std::string TrimSystemText(const std::string& text) {
  std::string::size_type end = text.size();
  while (end > 0) {
    const auto c = static_cast<unsigned char>(text[end - 1]);
    if (c <= ' ' || c == '.') {
      --end;
    } else {
      break;
    }
  }
  return text.substr(0, end);
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
