// The registry through the system's own reg.exe, an independent reader,
// always in the 32-bit view the package uses.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace e2e {

// A value as reg.exe prints it.
struct RegValue {
  bool found = false;
  std::string type;  // "REG_SZ", "REG_DWORD", ...
  std::string data;  // as reg prints it: text, or "0x5" for a DWORD
};
RegValue RegQuery(const std::string& key, const std::string& name);
// Every value of a key as reg.exe prints it (empty when the key is
// missing), and the values parsed from that listing.
std::string RegQueryKeyText(const std::string& key);
std::vector<std::pair<std::string, RegValue>> RegQueryKey(const std::string& key);
void RegAdd(const std::string& key, const std::string& name, const std::string& type,
            const std::string& data);
// Deletes a key with everything under it; false when it could not (a
// missing key, for one).
bool RegDelete(const std::string& key);

// The tool's settings key.
constexpr const char* kSettingsKey = "HKLM\\SOFTWARE\\Hollisfield\\Quorvin PDF\\1.01";

}  // namespace e2e
