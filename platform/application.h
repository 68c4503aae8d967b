// The application object: title, message pumping and the program's end.
#pragma once

#include <string>

namespace qv {

constexpr const char* kApplicationTitle = "Quorvin PDF Configuration Tool";

class IApplication {
 public:
  virtual ~IApplication() = default;
  // Takes every waiting message and dispatches it, then returns. A quit
  // request taken here only marks the application as ending.
  virtual void ProcessMessages() = 0;
};

}  // namespace qv
