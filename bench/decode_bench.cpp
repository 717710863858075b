#include <benchmark/benchmark.h>

#include "bench_register.h"
#include "codecs/picture_loader.h"

namespace kelpra::bench {

namespace {

void Decode(benchmark::State& state, const std::filesystem::path& path) {
  for (auto _ : state) {
    TBitmap bmp;
    LoadFile(path, bmp);
    benchmark::DoNotOptimize(bmp.ScanLine(0));
  }
}

}  // namespace

void RegisterDecodeBenchmarks(const std::vector<BenchPicture>& pictures) {
  for (const BenchPicture& picture : pictures) {
    for (const PictureFile& file : picture.files) {
      const std::string name = "Decode/" + file.format + "/" + picture.name;
      benchmark::RegisterBenchmark(name.c_str(), Decode, file.path)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
}

}  // namespace kelpra::bench
