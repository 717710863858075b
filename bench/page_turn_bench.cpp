#include <benchmark/benchmark.h>

#include "bench_faults.h"
#include "bench_register.h"
#include "core/page_composer.h"
#include "core/path_list.h"
#include "core/read_ahead.h"

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

// How the turn gets its pages: decoded afresh both at once, kept from an earlier turn, the
// composition before the fit kept from the last showing (a resize, as the window does it), or
// the whole turn composed ahead while the previous one was looked at.
enum class Source { kDecodedAtOnce, kKeptPages, kResized, kComposedAhead };

void SpreadTurn(benchmark::State& state, const std::filesystem::path& book, Source source) {
  PathList files;
  files.Add(QString::fromStdString((book / "p1.jpg").string()));
  files.Add(QString::fromStdString((book / "p2.jpg").string()));
  PageRequest request;
  request.files = &files;
  request.clientWidth = kWindowWidth;
  request.clientHeight = kWindowHeight;
  ReadAhead kept;
  long faults = 0;
  for (auto _ : state) {
    PageResult result;
    if (source == Source::kComposedAhead) {
      state.PauseTiming();
      kept.ComposeAhead({request}, {});
      kept.WaitIdle();
      state.ResumeTiming();
    }
    const long before = MinorFaults();
    if (source == Source::kDecodedAtOnce) {
      ReadAhead fresh;
      ComposePage(request, result, fresh.Loader());
    } else if (source == Source::kKeptPages) {
      // Every other size, as a resize asks; the pages stay decoded.
      request.clientWidth = kWindowWidth - (request.clientWidth == kWindowWidth ? 1 : 0);
      ComposePage(request, result, kept.Loader());
    } else if (source == Source::kResized) {
      request.clientWidth = kWindowWidth - (request.clientWidth == kWindowWidth ? 1 : 0);
      kept.ComposeNow(request, result);
    } else if (std::optional<PageResult> composed = kept.TakeComposed(request)) {
      result = std::move(*composed);
    }
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
  for (const auto& [name, source] :
       {std::pair{"PageTurn/spread/Bilinear/decoded_at_once", Source::kDecodedAtOnce},
        std::pair{"PageTurn/spread/Bilinear/pages_kept", Source::kKeptPages},
        std::pair{"PageTurn/spread/Bilinear/resized", Source::kResized},
        std::pair{"PageTurn/spread/Bilinear/composed_ahead", Source::kComposedAhead}}) {
    auto* turn = benchmark::RegisterBenchmark(name, SpreadTurn, book, source);
    turn->Unit(benchmark::kMillisecond)->UseRealTime();
    // The untimed work ahead takes far longer than the timed turn: a fixed count of turns.
    if (source == Source::kComposedAhead)
      turn->Iterations(20);
  }
}

}  // namespace kelpra::bench
