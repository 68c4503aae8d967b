// How the two printer lists scale with the number of printers, on the
// in-memory platform: RefreshPrinterList plus RefreshMonitoredList for 2,
// 100 and 1,000 printers, every third one monitored. Prints the time per
// printer for each size and its ratio to the 2-printer figure measured in
// the same run; a flat ratio means linear cost.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "config/registry_layout.h"
#include "tests/fakes/fake_platform.h"

namespace {

double MicrosPerPrinter(int printers) {
  qv::fakes::FakeWorld w;
  for (int i = 0; i < printers; ++i) {
    const std::string name = "Printer " + std::to_string(i);
    w.printerBackend.names.push_back(name);
    w.registry.PutString(qv::layout::kPrintersKeyPrefix + name, "Port",
                         i % 3 == 0 ? "QuorvinPDF:" : "LPT1:");
  }
  // Repeat until about 0.2 s has passed; keep the best of five rounds.
  const int rounds = std::max(1, 20000 / printers);
  double best = 1e30;
  for (int attempt = 0; attempt < 5; ++attempt) {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; ++r) {
      w.form->RefreshPrinterList();
      w.form->RefreshMonitoredList();
    }
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    best = std::min(best, spent.count() / rounds / printers);
  }
  if (static_cast<int>(w.ListBox1.items.size()) != (printers + 2) / 3) std::abort();
  return best;
}

}  // namespace

int main() {
  const double base = MicrosPerPrinter(2);
  std::printf("%-34s %12s %8s\n", "lists refresh, in-memory platform", "us/printer", "ratio");
  for (int n : {2, 100, 1000}) {
    const double t = n == 2 ? base : MicrosPerPrinter(n);
    std::printf("%6d printers %19s %12.3f %8.2f\n", n, "", t, t / base);
  }
  return 0;
}
