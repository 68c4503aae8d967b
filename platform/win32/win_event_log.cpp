#include "platform/win32/win_event_log.h"

#include <windows.h>

#include <vector>

#include "event_messages.h"  // made by the message compiler
#include "platform/win32/win_util.h"

namespace qv {
namespace {

// The message table has a message for each event ID.
static_assert(QV_EVENT_ATTACH == kEventAttach && QV_EVENT_INSTALL == kEventInstall &&
              QV_EVENT_DETACH == kEventDetach && QV_EVENT_PDF_PORT == kEventPdfPort &&
              QV_EVENT_OPTIONS == kEventOptions &&
              QV_EVENT_GHOSTSCRIPT_PATH == kEventGhostscriptPath);

// ReportEvent's limit for one string, in UTF-16 units.
constexpr std::size_t kMaxEventText = 31839;

using UniqueEventSource = std::unique_ptr<void, win32::Closer<DeregisterEventSource>>;

// UTF-8 as UTF-16, exactly: nullopt for bytes that are not UTF-8, which
// would otherwise be written as U+FFFD.
std::optional<std::wstring> FromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), n);
  return wide;
}

// The text within ReportEvent's limit, never cutting a surrogate pair; a
// cut text ends in "...".
std::wstring WithinLimit(std::wstring text) {
  if (text.size() <= kMaxEventText) return text;
  std::size_t keep = kMaxEventText - 3;
  if (IS_LOW_SURROGATE(text[keep])) --keep;
  return text.substr(0, keep) + L"...";
}

// The TOKEN_USER of the running process; empty when it cannot be read.
std::vector<unsigned char> TokenUser() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
  const win32::UniqueHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), ::TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> user(size);
  if (size == 0 || !GetTokenInformation(token.get(), ::TokenUser, user.data(), size, &size)) {
    return {};
  }
  return user;
}

WORD EventType(EventLevel level) {
  switch (level) {
    case EventLevel::Warning:
      return EVENTLOG_WARNING_TYPE;
    case EventLevel::Error:
      return EVENTLOG_ERROR_TYPE;
    default:
      return EVENTLOG_INFORMATION_TYPE;
  }
}

}  // namespace

void Win32EventLog::Report(EventLevel level, std::uint32_t id, const std::string& text) noexcept {
  try {
    // Without a registered source Windows still logs the event, but Event
    // Viewer cannot show its text: it is skipped.
    if (!registered_) registered_ = EnsureEventSource(registry_, files_.OwnExecutablePath());
    if (!*registered_) return;
    const std::optional<std::wstring> wide = FromUtf8(text);
    if (!wide) return;
    const std::wstring shown = WithinLimit(*wide);
    const UniqueEventSource source(
        RegisterEventSourceW(nullptr, L"Quorvin PDF Configuration Tool"));
    if (!source) return;
    const std::vector<unsigned char> user = TokenUser();
    const PSID sid =
        user.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
    LPCWSTR strings[] = {shown.c_str()};
    ReportEventW(source.get(), EventType(level), 0, id, sid, 1, 0, strings, nullptr);
  } catch (...) {
    // The record is lost; the command's outcome stands.
  }
}

}  // namespace qv
