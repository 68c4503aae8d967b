#include "console/output.h"

namespace qv {

std::string AsConsoleLines(const std::string& text) {
  std::string lines;
  for (std::string::size_type i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      lines += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      lines += text[i];
    }
  }
  if (lines.empty() || lines.back() != '\n') lines += '\n';
  return lines;
}

}  // namespace qv
