// The registry as reg.exe, an independent reader, prints and writes it,
// always in the 32-bit view the package uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>

#include "harness.h"

namespace e2e {

namespace {

// One line of reg.exe's listing: "    name    REG_TYPE    data".
bool ParseRegLine(std::string line, std::string* name, RegValue* value) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  const size_t start = line.find_first_not_of(' ');
  if (start == std::string::npos) return false;
  const size_t typeAt = line.find("    REG_", start);
  if (typeAt == std::string::npos) return false;
  *name = line.substr(start, typeAt - start);
  const size_t typeStart = typeAt + 4;
  const size_t typeEnd = line.find(' ', typeStart);
  value->found = true;
  value->type = line.substr(typeStart, typeEnd - typeStart);
  value->data.clear();
  if (typeEnd != std::string::npos) {
    const size_t dataStart = line.find_first_not_of(' ', typeEnd);
    if (dataStart != std::string::npos) value->data = line.substr(dataStart);
  }
  return true;
}

}  // namespace

RegValue RegQuery(const std::string& key, const std::string& name) {
  std::string output;
  const int code = RunProgram("reg.exe query \"" + key + "\" /v \"" + name + "\" /reg:32", &output);
  if (code != 0) return RegValue();
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::string found;
    RegValue value;
    if (ParseRegLine(line, &found, &value) && lstrcmpiA(found.c_str(), name.c_str()) == 0)
      return value;
  }
  return RegValue();
}

void RegAdd(const std::string& key, const std::string& name, const std::string& type,
            const std::string& data) {
  std::string output;
  const int code = RunProgram("reg.exe add \"" + key + "\" /v \"" + name + "\" /t " + type +
                                  " /d \"" + data + "\" /reg:32 /f",
                              &output);
  EXPECT_EQ(code, 0) << "reg add " << key << " " << name << ": " << output;
}

bool RegDelete(const std::string& key) {
  return RunProgram("reg.exe delete \"" + key + "\" /f /reg:32") == 0;
}

std::string RegQueryKeyText(const std::string& key) {
  std::string output;
  if (RunProgram("reg.exe query \"" + key + "\" /reg:32", &output) != 0) return std::string();
  return output;
}

std::vector<std::pair<std::string, RegValue>> RegQueryKey(const std::string& key) {
  std::vector<std::pair<std::string, RegValue>> values;
  std::istringstream lines(RegQueryKeyText(key));
  std::string line;
  while (std::getline(lines, line)) {
    std::string name;
    RegValue value;
    if (ParseRegLine(line, &name, &value)) values.emplace_back(name, value);
  }
  return values;
}

}  // namespace e2e
