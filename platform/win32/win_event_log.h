// The Application event log on Windows: the tool's own event source,
// registered by the first program that reports an event and may register
// it, and each event reported with the user's SID.
#pragma once

#include <optional>

#include "platform/event_log.h"
#include "platform/files.h"
#include "platform/win32/win_registry.h"

namespace qv {

class Win32EventLog : public IEventLog {
 public:
  explicit Win32EventLog(IFileSystem& files) : files_(files) {}
  void Report(EventLevel level, std::uint32_t id, const std::string& text) noexcept override;

 private:
  IFileSystem& files_;
  // HKLM\SYSTEM is shared by both registry views, not redirected; the
  // source's key is read and written in the native view, where the event
  // log service reads it.
  Win32Registry registry_{Has64BitRegistryView() ? RegistryView::Bits64 : RegistryView::Bits32};
  // Whether events may be reported, decided at the first one.
  std::optional<bool> registered_;
};

}  // namespace qv
