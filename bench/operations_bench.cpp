#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "bench_register.h"
#include "imaging/filters.h"
#include "imaging/tone.h"

namespace kelpra::bench {

namespace {

struct Operation {
  std::string name;
  std::function<bool(TBitmap&)> run;
};

}  // namespace

// Each operation works in place, so every iteration starts from a fresh copy (not timed).
void RegisterOperationBenchmarks(const std::vector<BenchPicture>& pictures) {
  const Operation operations[] = {
      {"GrayScale", [](TBitmap& b) { return GrayScale(b); }},
      {"Brightness/30", [](TBitmap& b) { return Brightness(b, 30); }},
      {"Contrast/30", [](TBitmap& b) { return Contrast(b, 30); }},
      {"Sharpen/30", [](TBitmap& b) { return Sharpen(b, 30); }},
      {"Soften/30", [](TBitmap& b) { return Soften(b, 30); }},
      {"GaussianBlur/1", [](TBitmap& b) { return GaussianBlur(b, 1); }},
      {"GaussianBlur/5", [](TBitmap& b) { return GaussianBlur(b, 5); }},
  };
  for (const BenchPicture& picture : pictures) {
    for (const Operation& op : operations) {
      benchmark::RegisterBenchmark(("Op/" + op.name + "/" + picture.name).c_str(),
                                   [&picture, run = op.run](benchmark::State& state) {
                                     TBitmap bmp;
                                     for (auto _ : state) {
                                       state.PauseTiming();
                                       bmp = picture.bitmap;
                                       state.ResumeTiming();
                                       if (!run(bmp))
                                         state.SkipWithError("refused");
                                     }
                                   })
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
}

}  // namespace kelpra::bench
