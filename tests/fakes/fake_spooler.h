// The print spooler service and the default printer as the console program
// asks for them, following the NET calls of a fake world: by default a STOP
// leaves the spooler stopped and a START leaves it running.
#pragma once

#include <string>

#include "console/spooler.h"
#include "tests/fakes/fake_platform.h"

namespace qv::fakes {

class FakeSpooler : public ISpooler {
 public:
  explicit FakeSpooler(const FakeProcesses& processes) : processes_(processes) {}
  ServiceState afterStop = ServiceState::Stopped;
  ServiceState afterStart = ServiceState::Running;
  std::string defaultPrinter;

  ServiceState State() override {
    const bool stopped =
        !processes_.starts.empty() && processes_.starts.back().parameters == "STOP SPOOLER";
    return stopped ? afterStop : afterStart;
  }
  std::string DefaultPrinter() override { return defaultPrinter; }

 private:
  const FakeProcesses& processes_;
};

}  // namespace qv::fakes
