#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "bench_register.h"
#include "imaging/filters.h"
#include "imaging/reference_ops.h"
#include "imaging/tone.h"

namespace kelpra::bench {

namespace {

using Operation = std::function<bool(TBitmap&)>;

// Each operation works in place, so every iteration starts from a fresh copy (not timed).
void Adjust(benchmark::State& state, const TBitmap& source, const Operation& run) {
  TBitmap bmp;
  for (auto _ : state) {
    state.PauseTiming();
    bmp = source;
    state.ResumeTiming();
    if (!run(bmp))
      state.SkipWithError("refused");
  }
}

void Register(const std::string& name, const BenchPicture& picture, const Operation& run) {
  benchmark::RegisterBenchmark(name.c_str(), Adjust, std::cref(picture.bitmap), run)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

}  // namespace

void RegisterOperationBenchmarks(const std::vector<BenchPicture>& pictures) {
  const std::pair<const char*, Operation> operations[] = {
      {"GrayScale", [](TBitmap& b) { return GrayScale(b); }},
      {"Brightness/30", [](TBitmap& b) { return Brightness(b, 30); }},
      {"Contrast/30", [](TBitmap& b) { return Contrast(b, 30); }},
      {"Sharpen/30", [](TBitmap& b) { return Sharpen(b, 30); }},
      {"Soften/30", [](TBitmap& b) { return Soften(b, 30); }},
      {"GaussianBlur/1", [](TBitmap& b) { return GaussianBlur(b, 1); }},
      {"GaussianBlur/5", [](TBitmap& b) { return GaussianBlur(b, 5); }},
  };
  for (const BenchPicture& picture : pictures) {
    for (const auto& [name, run] : operations)
      Register("Op/" + std::string(name) + "/" + picture.name, picture, run);
  }
  // The per-pixel transcriptions the exactness tests hold the library to, on the page.
  const std::pair<const char*, Operation> literals[] = {
      {"Sharpen/30", [](TBitmap& b) { return reference::Sharpen(b, 30); }},
      {"Soften/30", [](TBitmap& b) { return reference::Soften(b, 30); }},
      {"GaussianBlur/1", [](TBitmap& b) { return reference::GaussianBlur(b, 1); }},
      {"GaussianBlur/5", [](TBitmap& b) { return reference::GaussianBlur(b, 5); }},
  };
  const BenchPicture& page = pictures.front();
  for (const auto& [name, run] : literals)
    Register("OpLiteral/" + std::string(name) + "/" + page.name, page, run);
}

}  // namespace kelpra::bench
