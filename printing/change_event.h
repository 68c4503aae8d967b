// The parts of an event that both programs build from the record of what a
// command changed: each change as one line, and what the event says first.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/changes.h"

namespace qv {

// Converts a text in the system code page to UTF-8.
using ToUtf8Function = std::function<std::string(const std::string&)>;

// A registry value's content as the registry editor shows it: a string in
// quotes, a DWORD as its number, any other type as "hex:01,02"; "missing"
// when there is none.
std::string ShownContent(const std::optional<RegistryContent>& content,
                         const ToUtf8Function& toUtf8);
bool IsTextContent(const RegistryContent& content);
// A string's text up to its NUL, in UTF-8.
std::string ContentText(const RegistryContent& content, const ToUtf8Function& toUtf8);
std::uint32_t ContentDword(const RegistryContent& content);
std::string ContentHex(const RegistryContent& content);
// "ended", "still running"...
const char* ProgramEndName(ProgramEnd ended);

// A change made, as one line of its event, in UTF-8.
std::string MadeChangeLine(const Change& change, const ToUtf8Function& toUtf8);
// What an event says first: for a printer, its port before and after;
// otherwise what kind of thing changed, by the event's ID.
std::string EventSummary(std::uint32_t eventId, const std::vector<Change>& changes,
                         const ToUtf8Function& toUtf8);

}  // namespace qv
