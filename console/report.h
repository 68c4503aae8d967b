// The status report as the console prints it: lines for people, or one
// JSON object.
#pragma once

#include <functional>
#include <string>

#include "health/status.h"

namespace qv {

// The report for people, lines in UTF-8 (toUtf8 converts the system code
// page's strings); control characters inside a value show as escapes (\r,
// \n, \t, \xNN).
std::string StatusText(const StatusReport& report,
                       const std::function<std::string(const std::string&)>& toUtf8);
// The report as one JSON object; toUtf8 converts the system code page's
// strings.
std::string StatusJson(const StatusReport& report,
                       const std::function<std::string(const std::string&)>& toUtf8);

}  // namespace qv
