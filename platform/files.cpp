#include "platform/files.h"

namespace qv {
namespace {
std::string::size_type LastDelimiter(const std::string& path) {
  return path.find_last_of("\\:");
}
}  // namespace

std::string ExtractFilePath(const std::string& path) {
  const auto pos = LastDelimiter(path);
  return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string ExtractFileName(const std::string& path) {
  const auto pos = LastDelimiter(path);
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

}  // namespace qv
