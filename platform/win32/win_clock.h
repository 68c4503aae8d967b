// The steady clock and a plain pause.
#pragma once

#include <windows.h>

#include <chrono>

#include "platform/clock.h"

namespace qv {

class Win32Clock : public IClock {
 public:
  std::uint64_t NowMs() override {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }
  void Sleep(std::uint32_t ms) override { ::Sleep(ms); }
};

}  // namespace qv
