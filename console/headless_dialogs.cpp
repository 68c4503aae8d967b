#include "console/headless_dialogs.h"

namespace qv {

void HeadlessDialogs::Error(const std::string& text) {
  out_.Write(Stream::Err, AsConsoleLines(text));
  failed_ = true;
}

int HeadlessDialogs::MessageBox(const std::string& text, const std::string& caption,
                                unsigned flags) {
  if ((flags & kMbTypeMask) == kMbYesNo) {
    const auto answer = answers.find(caption);
    if (answer != answers.end()) return answer->second;
    Error("Unexpected question \"" + caption + "\", answered No:\r" + text);
    return kIdNo;
  }
  if ((flags & kMbIconMask) == kMbIconError) {
    Error(text);
  } else {
    notices_ += AsConsoleLines(text);
  }
  return kIdOk;
}

void HeadlessDialogs::ReleaseNotices() {
  if (!failed_ && !notices_.empty()) out_.Write(Stream::Out, notices_);
  notices_.clear();
}

void HeadlessDialogs::ShowMessage(const std::string& text) {
  // The one simple message the handlers show: a program that failed to
  // start.
  Error(text);
}

bool HeadlessDialogs::InputQuery(const std::string&, const std::string&, std::string& value) {
  value = input;
  return true;
}

bool HeadlessDialogs::ExecuteOpen(FileDialog&) {
  return false;  // nothing to browse with on a console
}

bool HeadlessDialogs::ExecuteSave(FileDialog&) {
  return false;
}

}  // namespace qv
