// The record of every change the tool makes to a machine: one event in the
// Windows Application log per command that changed something, under the
// tool's own event source, so that an administrator sees what changed,
// when, by whom, and what it was before.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_backend.h"

namespace qv {

enum class EventLevel {
  Information,  // the command did what it set out to do
  Warning,      // it did, with a warning (a dependent service not started again)
  Error,        // it failed after changing something
};

// One event ID per kind of change; the text names the program. The message
// table (platform/win32/event_messages.mc) has a message for each.
enum EventId : std::uint32_t {
  kEventAttach = 1001,          // a printer sent to the PDF port: Add or attach
  kEventInstall = 1002,         // a PostScript printer installed: Install PS Driver or install
  kEventDetach = 1003,          // a printer given its previous port back: detach
  kEventPdfPort = 1004,         // the port monitor and PDF port registration
  kEventOptions = 1005,         // the options: Save Changes or set
  kEventGhostscriptPath = 1006  // a Ghostscript path stored
};

// The event source, and where the event log service finds its message file.
constexpr const char* kEventSourceName = "Quorvin PDF Configuration Tool";
constexpr const char* kEventSourceKey =
    "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Quorvin PDF Configuration Tool";
constexpr const char* kEventMessageFile = "EventMessageFile";
constexpr const char* kEventTypesSupported = "TypesSupported";
// Error, warning and information.
constexpr std::uint32_t kEventTypesAll = 7;

class IEventLog {
 public:
  virtual ~IEventLog() = default;
  // Writes one event; text is UTF-8. Never raises and never tells: a log
  // that cannot be written is skipped, and the command's outcome stands.
  virtual void Report(EventLevel level, std::uint32_t id, const std::string& text) noexcept = 0;
};

// What one event says, each part in UTF-8.
struct EventRecord {
  std::string what;     // what changed, first: "Printer "Office": port LPT1: -> QuorvinPDF:"
  std::string program;  // "QuorvinConfigCmd.exe"
  std::string command;  // "attach "Office""
  std::vector<std::string> changes;  // each change: key, value and view, before and after
  std::string outcome;
};

// The event's text: what changed, then program and command, each change on
// a line of its own, then the outcome. Lines end in CR LF, as Event Viewer
// shows them.
std::string EventText(const EventRecord& record);

// Makes sure the event source is registered for the running program:
// writes the source's key with EventMessageFile (REG_EXPAND_SZ) = ownPath
// and TypesSupported = 7 when either is missing or differs (the tool has
// moved). True when events may be reported: the source is registered as it
// should be, or was registered before and could not be rewritten (an
// unelevated console); false when no source is registered and none can be
// (then every event is skipped). ownPath is the program's path as the code
// page holds it; nullopt: nothing is written. Never raises.
bool EnsureEventSource(IRegistryBackend& registry, const std::optional<std::string>& ownPath);

}  // namespace qv
