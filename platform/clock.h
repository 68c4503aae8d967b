// Time for the waits that have a limit: milliseconds from any fixed point,
// and a pause.
#pragma once

#include <cstdint>

namespace qv {

class IClock {
 public:
  virtual ~IClock() = default;
  virtual std::uint64_t NowMs() = 0;
  virtual void Sleep(std::uint32_t ms) = 0;
};

}  // namespace qv
