// Page faults taken by the process so far: a bitmap allocated afresh pays one per 4 KiB page it
// touches, which the benchmarks report beside the time.
#pragma once

#include <sys/resource.h>

namespace kelpra::bench {

inline long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

}  // namespace kelpra::bench
