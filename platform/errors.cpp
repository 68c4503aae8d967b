#include "platform/errors.h"

namespace qv {

std::string ErrorDisplayText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
    return message + ".";
  }
  return message;
}

std::string SystemErrorMessage(unsigned long code, const std::string& systemText) {
  return "System Error.  Code: " + std::to_string(code) + ".\r\n" + systemText;
}

}  // namespace qv
