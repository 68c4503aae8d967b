#include "printing/change_event.h"

#include <cstdio>

#include "config/registry_layout.h"
#include "platform/event_log.h"

namespace qv {

bool IsTextContent(const RegistryContent& content) {
  return content.type == kRegSz || content.type == kRegExpandSz;
}

std::string ContentText(const RegistryContent& content, const ToUtf8Function& toUtf8) {
  const std::string bytes(content.data.begin(), content.data.end());
  return toUtf8(bytes.substr(0, bytes.find('\0')));
}

std::uint32_t ContentDword(const RegistryContent& content) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4 && i < content.data.size(); ++i) {
    value |= std::uint32_t{content.data[i]} << (8 * i);
  }
  return value;
}

std::string ContentHex(const RegistryContent& content) {
  std::string hex = "hex:";
  char byte[4];
  for (std::size_t i = 0; i < content.data.size(); ++i) {
    std::snprintf(byte, sizeof byte, i == 0 ? "%02x" : ",%02x", content.data[i]);
    hex += byte;
  }
  return hex;
}

std::string ShownContent(const std::optional<RegistryContent>& content,
                         const ToUtf8Function& toUtf8) {
  if (!content) return "missing";
  if (IsTextContent(*content)) return "\"" + ContentText(*content, toUtf8) + "\"";
  if (content->type == kRegDword) return std::to_string(ContentDword(*content));
  return ContentHex(*content);
}

const char* ProgramEndName(ProgramEnd ended) {
  switch (ended) {
    case ProgramEnd::Running:
      return "running";
    case ProgramEnd::Ended:
      return "ended";
    case ProgramEnd::StillRunning:
      return "still running";
    case ProgramEnd::HeldBack:
      return "held back";
  }
  return "";
}

std::string MadeChangeLine(const Change& change, const ToUtf8Function& toUtf8) {
  switch (change.kind) {
    case ChangeKind::Value:
      return toUtf8(change.key + "\\" + change.valueName) + " (" + change.view +
             " view): " + ShownContent(change.before, toUtf8) + " -> " +
             (change.after ? ShownContent(change.after, toUtf8) : "removed");
    case ChangeKind::Service:
      return std::string(change.action == ServiceAction::Stopped ? "Stopped" : "Started") +
             " the service " + toUtf8(change.service) + ".";
    case ChangeKind::Program:
      return "Ran \"" + change.file + "\" " + change.parameters + ": " +
             ProgramEndName(change.ended) + ".";
  }
  return "";
}

std::string EventSummary(std::uint32_t eventId, const std::vector<Change>& changes,
                         const ToUtf8Function& toUtf8) {
  const std::string printers =
      RegistryRootName(kHkeyLocalMachine) + "\\" + RegistryCapitals(layout::kPrintersKeyPrefix);
  for (const Change& change : changes) {
    if (change.kind != ChangeKind::Value || change.valueName != layout::kPort ||
        RegistryCapitals(change.key).compare(0, printers.size(), printers) != 0) {
      continue;
    }
    return "Printer \"" + toUtf8(change.key.substr(printers.size())) + "\": port " +
           ShownContent(change.before, toUtf8) + " -> " +
           (change.after ? ShownContent(change.after, toUtf8) : "removed");
  }
  switch (eventId) {
    case kEventOptions:
      return "The options of the PDF printer changed.";
    case kEventPdfPort:
      return "The PDF port's registration changed.";
    case kEventGhostscriptPath:
      return "The stored Ghostscript path changed.";
    case kEventInstall:
      return "The installation of a PostScript printer ran.";
    default:
      return "The print spooler was restarted.";
  }
}

}  // namespace qv
