#include "ui/dialogs.h"

#include <algorithm>

#include "platform/application.h"
#include "platform/errors.h"

namespace qv {

void ShowException(IDialogs& dialogs, const std::exception& error) noexcept {
  try {
    dialogs.MessageBox(ErrorDisplayText(error.what()), kApplicationTitle, kMbIconError);
  } catch (...) {
    // Nothing more can be shown; the command has ended either way.
  }
}

std::string FilterForSystem(const std::string& filter) {
  std::string result = filter + std::string(2, '\0');
  std::replace(result.begin(), result.end(), '|', '\0');
  return result;
}

ScreenPoint FileDialogPosition(const ScreenRect& monitor, int width, int height) {
  const int freeWidth = monitor.right - monitor.left - width;
  const int freeHeight = monitor.bottom - monitor.top - height;
  return {monitor.left + (freeWidth > 0 ? freeWidth / 2 : 0),
          monitor.top + (freeHeight > 0 ? freeHeight / 3 : 0)};
}

std::string InitialDirForSystem(const std::string& folder) {
  if (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':') {
    return folder.substr(0, folder.size() - 1);
  }
  return folder;
}

}  // namespace qv
