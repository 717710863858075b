// kelpra-bench-page OUT.jpg [SEED]: writes the page that kelpra-bench decodes, for compare.sh;
// another seed gives another page of the same kind, for a book of different pages.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "bench_pictures.h"
#include "support/test_pictures.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: kelpra-bench-page OUT.jpg [SEED]\n");
    return 2;
  }
  const unsigned seed = argc == 3 ? unsigned(std::strtoul(argv[2], nullptr, 10)) : 1;
  try {
    using namespace kelpra::bench;
    kelpra::test::WriteJpeg(MakeScanPage(kPageWidth, kPageHeight, seed), argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kelpra-bench-page: %s\n", error.what());
    return 1;
  }
  return 0;
}
