#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <functional>
#include <string>

#include "bench_register.h"
#include "imaging/resample.h"
#include "imaging/resample_filters.h"
#include "imaging/resample_reference.h"
#include "imaging/resample_threads.h"

namespace kelpra::bench {

namespace {

long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

using Resizer = std::function<bool(TBitmap&, int, int, TResizeMode)>;

// Fits the picture to the window from a fresh copy each iteration; "faults" counts the page
// faults of the timed part (the result's fresh pages).
void Register(const std::string& name, const BenchPicture& picture, TResizeMode mode,
              Resizer resize) {
  benchmark::RegisterBenchmark(name.c_str(),
                               [&picture, mode, resize](benchmark::State& state) {
                                 const FitSize fit =
                                     FitToWindow(picture.bitmap.Width(), picture.bitmap.Height());
                                 TBitmap bmp;
                                 long faults = 0;
                                 for (auto _ : state) {
                                   state.PauseTiming();
                                   bmp = picture.bitmap;
                                   const long before = MinorFaults();
                                   state.ResumeTiming();
                                   if (!resize(bmp, fit.width, fit.height, mode))
                                     state.SkipWithError("refused");
                                   faults += MinorFaults() - before;
                                 }
                                 state.counters["faults"] = benchmark::Counter(
                                     double(faults), benchmark::Counter::kAvgIterations);
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
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
    Register(
        "ResizeOneThread/" + name + "/" + page.name, page, mode,
        [](TBitmap& b, int w, int h, TResizeMode m) { return BmpResizeOnThreads(b, w, h, m, 1); });
    Register("ResizeLiteral/" + name + "/" + page.name, page, mode, test::ReferenceBmpResize);
  }
}

}  // namespace kelpra::bench
