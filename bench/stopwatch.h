// The benchmarks' clock: seconds on a monotonic clock, for differences only.
#pragma once

#include <chrono>

namespace bench {

inline double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace bench
