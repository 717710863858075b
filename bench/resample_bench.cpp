#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "bench_faults.h"
#include "bench_register.h"
#include "imaging/resample.h"
#include "imaging/resample_filters.h"
#include "imaging/resample_reference.h"
#include "imaging/resample_threads.h"

namespace kelpra::bench {

namespace {

using Resizer = std::function<bool(TBitmap&, int, int, TResizeMode)>;

// Fits the picture to the window from a fresh copy each iteration (not timed); "faults" counts
// the page faults of the timed part.
void Fit(benchmark::State& state, const TBitmap& source, TResizeMode mode, const Resizer& resize) {
  const FitSize fit = FitToWindow(source.Width(), source.Height());
  TBitmap bmp;
  long faults = 0;
  for (auto _ : state) {
    state.PauseTiming();
    bmp = source;
    const long before = MinorFaults();
    state.ResumeTiming();
    if (!resize(bmp, fit.width, fit.height, mode))
      state.SkipWithError("refused");
    faults += MinorFaults() - before;
  }
  state.counters["faults"] = benchmark::Counter(double(faults), benchmark::Counter::kAvgIterations);
}

void Register(const std::string& name, const BenchPicture& picture, TResizeMode mode,
              const Resizer& resize) {
  benchmark::RegisterBenchmark(name.c_str(), Fit, std::cref(picture.bitmap), mode, resize)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

bool OneThread(TBitmap& bmp, int width, int height, TResizeMode mode) {
  return BmpResizeOnThreads(bmp, width, height, mode, 1);
}

}  // namespace

void RegisterResampleBenchmarks(const std::vector<BenchPicture>& pictures) {
  for (const BenchPicture& picture : pictures) {
    for (const ResizeFilter& filter : ResizeFilters()) {
      Register("Resize/" + std::string(filter.name) + "/" + picture.name, picture, filter.mode,
               BmpResize);
    }
  }
  // The per-tap transcription beside the optimised code, both on one thread.
  const BenchPicture& page = pictures.front();
  for (TResizeMode mode : {rmLanczos, rmBicubic}) {
    const std::string name(ResizeModeName(mode));
    Register("ResizeOneThread/" + name + "/" + page.name, page, mode, OneThread);
    Register("ResizeLiteral/" + name + "/" + page.name, page, mode, test::ReferenceBmpResize);
  }
}

}  // namespace kelpra::bench
