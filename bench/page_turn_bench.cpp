#include <benchmark/benchmark.h>

#include "bench_faults.h"
#include "bench_register.h"
#include "core/page_composer.h"
#include "core/path_list.h"

namespace kelpra::bench {

namespace {

struct Variant {
  const char* name;
  bool singlePicture;
  const char* filter;
};

// A whole page turn as the window does it: decode, join, adjust and fit to 1920 x 1080.
void PageTurn(benchmark::State& state, const std::filesystem::path& book, const Variant& v) {
  PathList files;
  files.Add(QString::fromStdString((book / "p1.jpg").string()));
  files.Add(QString::fromStdString((book / "p2.jpg").string()));
  PageRequest request;
  request.files = &files;
  request.options.singlePicture = v.singlePicture;
  request.effects.resizeFilter = QString::fromLatin1(v.filter);
  request.clientWidth = kWindowWidth;
  request.clientHeight = kWindowHeight;
  long faults = 0;
  for (auto _ : state) {
    const long before = MinorFaults();
    PageResult result;
    ComposePage(request, result);
    if (!result.done)
      state.SkipWithError("no picture");
    benchmark::DoNotOptimize(result.picture.ScanLine(0));
    faults += MinorFaults() - before;
  }
  state.counters["faults"] = benchmark::Counter(double(faults), benchmark::Counter::kAvgIterations);
}

}  // namespace

void RegisterPageTurnBenchmarks(const std::filesystem::path& book) {
  for (const Variant& v : {Variant{"PageTurn/page/Lanczos", true, "Lanczos"},
                           Variant{"PageTurn/spread/Lanczos", false, "Lanczos"},
                           Variant{"PageTurn/spread/Bilinear", false, "Bilinear"}}) {
    benchmark::RegisterBenchmark(v.name, PageTurn, book, v)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
}

}  // namespace kelpra::bench
