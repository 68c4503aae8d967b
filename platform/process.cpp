#include "platform/process.h"

#include <algorithm>

namespace qv {

std::string TrimSystemText(const std::string& text) {
  const auto kept = std::find_if(text.rbegin(), text.rend(), [](char c) {
    return static_cast<unsigned char>(c) > ' ' && c != '.';
  });
  return std::string(text.begin(), kept.base());
}

void OpenLink(IProcessRunner& processes, std::uintptr_t owner, const ShellCall& call) {
  if (processes.IsElevated() && processes.OpenAsDesktopUser(call)) return;
  processes.ShellOpen(owner, call);
}

}  // namespace qv
