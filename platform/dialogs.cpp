#include "platform/dialogs.h"

namespace qv {

std::string FilterForSystem(const std::string& filter) {
  std::string result = filter;
  for (char& c : result) {
    if (c == '|') c = '\0';
  }
  result.push_back('\0');
  result.push_back('\0');
  return result;
}

std::string InitialDirForSystem(const std::string& folder) {
  if (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':') {
    return folder.substr(0, folder.size() - 1);
  }
  return folder;
}

}  // namespace qv
