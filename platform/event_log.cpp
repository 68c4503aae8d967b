#include "platform/event_log.h"

namespace qv {
namespace {

// A string value's bytes without the NULs that end it.
std::string StringData(const std::vector<unsigned char>& data) {
  std::string text(data.begin(), data.end());
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

// True when the source's key names path as its message file and supports
// every level.
bool IsCurrent(IRegistryBackend& registry, RegKey key, const std::string& path) {
  std::uint32_t type = kRegNone;
  std::vector<unsigned char> data;
  if (registry.QueryValue(key, kEventMessageFile, &type, &data) != kErrorSuccess ||
      type != kRegExpandSz || StringData(data) != path) {
    return false;
  }
  return registry.QueryValue(key, kEventTypesSupported, &type, &data) == kErrorSuccess &&
         type == kRegDword && data.size() == 4 &&
         data == std::vector<unsigned char>{kEventTypesAll, 0, 0, 0};
}

bool WriteSource(IRegistryBackend& registry, const std::string& path) {
  RegKey key = 0;
  if (registry.CreateKey(kHkeyLocalMachine, kEventSourceKey, kKeyAllAccess, &key) !=
      kErrorSuccess) {
    return false;
  }
  const std::string file = path + '\0';
  const unsigned char types[4] = {kEventTypesAll, 0, 0, 0};
  const bool written =
      registry.SetValue(key, kEventMessageFile, kRegExpandSz,
                        reinterpret_cast<const unsigned char*>(file.data()),
                        file.size()) == kErrorSuccess &&
      registry.SetValue(key, kEventTypesSupported, kRegDword, types, sizeof types) == kErrorSuccess;
  registry.CloseKey(key);
  return written;
}

}  // namespace

std::string EventText(const EventRecord& record) {
  std::string text = record.what + "\r\n\r\nProgram: " + record.program +
                     "\r\nCommand: " + record.command + "\r\n";
  if (!record.changes.empty()) {
    text += "Changes:\r\n";
    for (const std::string& change : record.changes) text += "  " + change + "\r\n";
  }
  return text + "Outcome: " + record.outcome;
}

bool EnsureEventSource(IRegistryBackend& registry, const std::optional<std::string>& ownPath) {
  try {
    bool registered = false, current = false;
    RegKey key = 0;
    if (registry.OpenKey(kHkeyLocalMachine, kEventSourceKey, kKeyRead, &key) == kErrorSuccess) {
      registered = true;
      current = ownPath && IsCurrent(registry, key, *ownPath);
      registry.CloseKey(key);
    }
    if (current || !ownPath) return registered;
    // An unelevated program cannot write the key: a source registered
    // before still takes the event, though its message file may be stale.
    return WriteSource(registry, *ownPath) || registered;
  } catch (...) {
    return false;
  }
}

}  // namespace qv
