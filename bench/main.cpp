// kelpra-bench: the costly steps of a page turn on an A4 page at 300 dpi and on a spread of two,
// each picture decoded from every format, adjusted, and fitted to a 1920 x 1080 window.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>

#include "bench_pictures.h"
#include "bench_register.h"
#include "support/test_pictures.h"

using namespace kelpra;
using namespace kelpra::bench;

namespace {

TBitmap MakeSpread(const TBitmap& left, const TBitmap& right) {
  TBitmap spread(left.Width() + right.Width(), left.Height());
  for (int y = 0; y < spread.Height(); ++y) {
    std::memcpy(spread.ScanLine(y), left.ScanLine(y), 3 * std::size_t(left.Width()));
    std::memcpy(spread.ScanLine(y) + 3 * left.Width(), right.ScanLine(y),
                3 * std::size_t(right.Width()));
  }
  return spread;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;

  const test::TempDir folder;
  TBitmap first = MakeScanPage(kPageWidth, kPageHeight, 1);
  TBitmap second = MakeScanPage(kPageWidth, kPageHeight, 2);
  std::vector<BenchPicture> pictures;
  pictures.push_back({"page", first, WriteEveryFormat(first, folder.path(), "page")});
  TBitmap spread = MakeSpread(first, second);
  pictures.push_back({"spread", spread, WriteEveryFormat(spread, folder.path(), "spread")});

  const std::filesystem::path book = folder / "book";
  std::filesystem::create_directory(book);
  test::WriteJpeg(first, book / "p1.jpg");
  test::WriteJpeg(second, book / "p2.jpg");

  RegisterDecodeBenchmarks(pictures);
  RegisterOperationBenchmarks(pictures);
  RegisterResampleBenchmarks(pictures);
  RegisterPageTurnBenchmarks(book);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
