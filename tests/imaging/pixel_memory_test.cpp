#include "imaging/pixel_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

#include "imaging/bitmap.h"

namespace kelpra {
namespace {

bool AllZero(const TBitmap& bmp) {
  for (int y = 0; y < bmp.Height(); ++y) {
    const std::uint8_t* row = bmp.ScanLine(y);
    if (std::any_of(row, row + bmp.Stride(), [](std::uint8_t b) { return b != 0; }))
      return false;
  }
  return true;
}

void Scribble(TBitmap& bmp) {
  for (int y = 0; y < bmp.Height(); ++y)
    std::memset(bmp.ScanLine(y), 0xA5, bmp.Stride());
}

// Sizes below, at and above the size from which memory is pooled, and a reused block bigger
// than the bitmap: every new bitmap is black, whatever its memory held before.
TEST(PixelMemoryTest, ANewBitmapIsBlackOnReusedMemory) {
  const struct {
    int width, height;
  } sizes[] = {{640, 480}, {1024, 342}, {2480, 3508}, {2480, 3000}, {2480, 3508}};
  for (const auto& s : sizes) {
    TBitmap used(s.width, s.height);
    Scribble(used);
    used = TBitmap();
    const TBitmap fresh(s.width, s.height);
    EXPECT_TRUE(AllZero(fresh)) << s.width << "x" << s.height;
  }
}

// Bitmaps made and freed on several threads at once share the pool without losing or doubling
// a block: each thread finds its own pixels unchanged.
TEST(PixelMemoryTest, ThreadsShareThePool) {
  std::vector<std::thread> threads;
  std::vector<int> faults(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &faults] {
      for (int round = 0; round < 20; ++round) {
        TBitmap bmp(1000 + 100 * t, 400);
        const std::uint8_t mark = std::uint8_t(t + 1);
        for (int y = 0; y < bmp.Height(); ++y)
          std::memset(bmp.ScanLine(y), mark, bmp.Stride());
        std::this_thread::yield();
        for (int y = 0; y < bmp.Height(); ++y) {
          const std::uint8_t* row = bmp.ScanLine(y);
          if (std::any_of(row, row + bmp.Stride(), [mark](std::uint8_t b) { return b != mark; }))
            ++faults[t];
        }
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(faults, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace kelpra
