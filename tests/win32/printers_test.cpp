// The printer list from the system. These tests run from printers.sh, which
// prepares the CUPS queues of each scenario and names them, comma-separated,
// in QV_EXPECTED_PRINTERS.
#include "platform/printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/errors.h"
#include "platform/win32/win_printers.h"
#include "platform/win32/win_spooler.h"

namespace qv::testing {
namespace {

std::vector<std::string> ExpectedPrinters(const char* list) {
  std::vector<std::string> names;
  std::istringstream in(list);
  std::string name;
  while (std::getline(in, name, ',')) {
    if (!name.empty()) names.push_back(name);
  }
  return names;
}

TEST(PrinterScenario, EveryQueueIsListedAndSelectable) {
  const char* list = std::getenv("QV_EXPECTED_PRINTERS");
  if (!list) GTEST_SKIP() << "run from printers.sh";
  auto expected = ExpectedPrinters(list);

  Win32PrinterBackend backend;
  std::vector<std::string> names;
  for (const PrinterName& printer : backend.EnumPrinterNames()) {
    names.push_back(printer.name);
    EXPECT_TRUE(printer.exact) << printer.name;  // plain ASCII names
    EXPECT_EQ(printer.utf8, printer.name);
  }
  std::sort(names.begin(), names.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);

  // With or without a default printer, every listed printer can be taken.
  PrinterService service(backend);
  const int count = static_cast<int>(service.Printers().size());
  for (int i = 0; i < count; ++i) EXPECT_NO_THROW(service.Entry(i));
  EXPECT_THROW(service.Entry(count), EPrinter);

  // What the spooler restart asks: Wine knows the spooler service (it
  // runs only once NET starts it), has no dependent services, and reports
  // each printer's port, as the registry holds it.
  Win32Spooler spooler;
  EXPECT_NE(spooler.State(kSpoolerService), ServiceState::Unknown);
  EXPECT_EQ(spooler.State("QvNoSuchService"), ServiceState::Unknown);
  EXPECT_FALSE(spooler.Stop("QvNoSuchService"));
  EXPECT_FALSE(spooler.Start("QvNoSuchService"));
  std::printf("running services that depend on the spooler: %zu\n",
              spooler.RunningDependents().size());
  for (const std::string& name : names) {
    const std::optional<std::string> port = spooler.PrinterPort(name);
    ASSERT_TRUE(port.has_value()) << name;
    EXPECT_FALSE(port->empty()) << name;
  }
  EXPECT_EQ(spooler.PrinterPort("Qv No Such Printer"), std::nullopt);
}

}  // namespace
}  // namespace qv::testing
