#include <benchmark/benchmark.h>

#include "bench_register.h"
#include "core/page_composer.h"
#include "core/path_list.h"

namespace kelpra::bench {

// A whole page turn as the window does it: decode, join, adjust and fit to 1920 x 1080.
void RegisterPageTurnBenchmarks(const std::filesystem::path& book) {
  struct Variant {
    const char* name;
    bool singlePicture;
    const char* filter;
  };
  for (const Variant& v : {Variant{"PageTurn/page/Lanczos", true, "Lanczos"},
                           Variant{"PageTurn/spread/Lanczos", false, "Lanczos"},
                           Variant{"PageTurn/spread/Bilinear", false, "Bilinear"}}) {
    benchmark::RegisterBenchmark(v.name,
                                 [book, v](benchmark::State& state) {
                                   PathList files;
                                   files.Add(QString::fromStdString((book / "p1.jpg").string()));
                                   files.Add(QString::fromStdString((book / "p2.jpg").string()));
                                   PageRequest request;
                                   request.files = &files;
                                   request.options.singlePicture = v.singlePicture;
                                   request.effects.resizeFilter = QString::fromLatin1(v.filter);
                                   request.clientWidth = kWindowWidth;
                                   request.clientHeight = kWindowHeight;
                                   for (auto _ : state) {
                                     PageResult result;
                                     ComposePage(request, result);
                                     if (!result.done)
                                       state.SkipWithError("no picture");
                                     benchmark::DoNotOptimize(result.picture.ScanLine(0));
                                   }
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
}

}  // namespace kelpra::bench
