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

// A bitmap to be overwritten may reuse a block as it was left, but its row padding is zeroed:
// once its pixels are written, every byte is as in a bitmap made black first.
TEST(PixelMemoryTest, ABitmapToBeOverwrittenHasZeroPaddingOnReusedMemory) {
  const struct {
    int width, height;
    TPixelFormat format;
  } sizes[] = {{2481, 1000, pf24bit},
               {2482, 1000, pf24bit},
               {2480, 1000, pf24bit},
               {4097, 600, pf8bit},
               {1, 1, pf24bit}};
  for (const auto& s : sizes) {
    TBitmap used(s.width, s.height, s.format);
    Scribble(used);
    used = TBitmap();
    TBitmap overwritten = TBitmap::ToBeOverwritten(s.width, s.height, s.format);
    TBitmap black(s.width, s.height, s.format);
    ASSERT_EQ(overwritten.Stride(), black.Stride());
    const std::size_t written = std::size_t(s.width) * (s.format == pf24bit ? 3 : 1);
    for (int y = 0; y < s.height; ++y) {
      std::memset(overwritten.ScanLine(y), 0x11, written);
      std::memset(black.ScanLine(y), 0x11, written);
    }
    bool same = true;
    for (int y = 0; y < s.height; ++y)
      same = same && std::memcmp(overwritten.ScanLine(y), black.ScanLine(y), black.Stride()) == 0;
    EXPECT_TRUE(same) << s.width << "x" << s.height;
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
