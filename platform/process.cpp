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

}  // namespace qv
