#include "imaging/parallel_rows.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace kelpra {

int DefaultThreadCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : int(std::min(cores, 64u));
}

void ParallelRows(int rowCount, int threadCount, const std::function<void(int y0, int y1)>& work) {
  if (rowCount <= 0)
    return;
  const int ranges = std::max(1, std::min(threadCount, rowCount));
  if (ranges == 1) {
    work(0, rowCount);
    return;
  }
  std::vector<std::exception_ptr> errors(ranges);
  auto run = [&](int index) {
    const int y0 = int(std::int64_t(rowCount) * index / ranges);
    const int y1 = int(std::int64_t(rowCount) * (index + 1) / ranges);
    try {
      work(y0, y1);
    } catch (...) {
      errors[index] = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(ranges - 1);
  int started = 1;
  try {
    for (; started < ranges; ++started)
      threads.emplace_back(run, started);
  } catch (const std::system_error&) {
    // No thread to be had: the calling thread does the ranges that were not started.
  }
  run(0);
  for (int i = started; i < ranges; ++i)
    run(i);
  for (auto& t : threads)
    t.join();
  for (auto& e : errors) {
    if (e)
      std::rethrow_exception(e);
  }
}

}  // namespace kelpra
