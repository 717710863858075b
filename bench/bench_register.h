// Each file registers one family of benchmarks over the benchmark pictures.
#pragma once

#include <filesystem>
#include <vector>

#include "bench_pictures.h"

namespace kelpra::bench {

void RegisterDecodeBenchmarks(const std::vector<BenchPicture>& pictures);
void RegisterOperationBenchmarks(const std::vector<BenchPicture>& pictures);
void RegisterResampleBenchmarks(const std::vector<BenchPicture>& pictures);
// book: a folder holding two portrait JPEG pages.
void RegisterPageTurnBenchmarks(const std::filesystem::path& book);

}  // namespace kelpra::bench
