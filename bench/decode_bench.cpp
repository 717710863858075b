#include <benchmark/benchmark.h>

#include "bench_register.h"
#include "codecs/picture_loader.h"

namespace kelpra::bench {

void RegisterDecodeBenchmarks(const std::vector<BenchPicture>& pictures) {
  for (const BenchPicture& picture : pictures) {
    for (const PictureFile& file : picture.files) {
      benchmark::RegisterBenchmark(("Decode/" + file.format + "/" + picture.name).c_str(),
                                   [path = file.path](benchmark::State& state) {
                                     for (auto _ : state) {
                                       TBitmap bmp;
                                       LoadFile(path, bmp);
                                       benchmark::DoNotOptimize(bmp.ScanLine(0));
                                     }
                                   })
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
}

}  // namespace kelpra::bench
