// Runs a loop over rows on all cores: work(y0, y1) handles rows y0 <= y < y1. Every row is
// computed by exactly one call, so results do not depend on the number of threads.
#pragma once

#include <cstdint>
#include <functional>

namespace kelpra {

// The number of threads ParallelRows uses by default: the machine's cores.
int DefaultThreadCount();

// Splits 0..rowCount into contiguous ranges, one per thread (at most threadCount, fewer for
// small jobs), and runs them; the calling thread takes one range itself. Exceptions from a
// range are passed on to the caller after every range has finished.
void ParallelRows(int rowCount, int threadCount, const std::function<void(int y0, int y1)>& work);

inline void ParallelRows(int rowCount, const std::function<void(int y0, int y1)>& work) {
  ParallelRows(rowCount, DefaultThreadCount(), work);
}

}  // namespace kelpra
