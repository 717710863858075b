// kelpra-bench-page OUT.jpg: writes the page that kelpra-bench decodes, for compare.sh.
#include <cstdio>
#include <exception>

#include "bench_pictures.h"
#include "support/test_pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kelpra-bench-page OUT.jpg\n");
    return 2;
  }
  try {
    using namespace kelpra::bench;
    kelpra::test::WriteJpeg(MakeScanPage(kPageWidth, kPageHeight, 1), argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kelpra-bench-page: %s\n", error.what());
    return 1;
  }
  return 0;
}
