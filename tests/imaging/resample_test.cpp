#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "imaging/resample.h"
#include "imaging/resample_reference.h"
#include "imaging/resample_threads.h"
#include "support/test_pictures.h"

namespace kelpra {
namespace {

constexpr TResizeMode kAllModes[] = {rmNearest,  rmBilinear, rmBicubic, rmBSpline, rmHermite,
                                     rmMitchell, rmBell,     rmLanczos, rmLagrange};

// Random bytes, or only 0 and 255 (hard edges, whose overshoot is clamped).
TBitmap Noise(int width, int height, std::mt19937& rng, bool hardEdges) {
  TBitmap bmp(width, height);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bmp.ScanLine(y);
    for (int i = 0; i < 3 * width; ++i)
      row[i] = std::uint8_t(hardEdges ? (byte(rng) & 1) * 255 : byte(rng));
  }
  return bmp;
}

std::uint8_t Red(const TBitmap& bmp, int x, int y) {
  return bmp.ScanLine(y)[3 * x + 2];
}

TEST(ResizeModeNames, ListedInModeOrderAndFoundExactly) {
  const char* names[] = {"Nearest",  "Bilinear", "Bicubic", "BSpline", "Hermite",
                         "Mitchell", "Bell",     "Lanczos", "Lagrange"};
  for (int i = 0; i < kResizeModeCount; ++i) {
    EXPECT_EQ(ResizeModeName(TResizeMode(i)), names[i]);
    EXPECT_EQ(ResizeModeFromName(names[i]), TResizeMode(i));
  }
  for (const char* other : {"", "nearest", "Lanczos ", "Bspline", "Cubic"}) {
    EXPECT_EQ(ResizeModeFromName(other), std::nullopt) << other;
  }
}

TEST(BmpResize, RefusesWhatItCannotResampleAndLeavesThePicture) {
  const TBitmap original = test::MakePicture(6, 4);
  struct Case {
    int width, height;
    TResizeMode mode;
  };
  for (const Case& c : {Case{0, 4, rmBilinear}, Case{6, 0, rmLanczos}, Case{-3, 2, rmNearest},
                        Case{3, 2, TResizeMode(kResizeModeCount)}}) {
    TBitmap bmp = original;
    EXPECT_FALSE(BmpResize(bmp, c.width, c.height, c.mode)) << c.width << "x" << c.height;
    EXPECT_EQ(test::BitmapDiff(original, bmp), "");
  }

  TBitmap grey(5, 5, pf8bit);
  grey.ScanLine(2)[2] = 200;
  grey.Palette()[200] = {1, 2, 3, 0};
  const TBitmap greyBefore = grey;
  for (TResizeMode mode : kAllModes) {
    EXPECT_FALSE(BmpResize(grey, 3, 3, mode)) << ResizeModeName(mode);
    EXPECT_EQ(test::BitmapDiff(greyBefore, grey), "");
  }

  TBitmap empty;
  EXPECT_FALSE(BmpResize(empty, 3, 3, rmBicubic));
  EXPECT_TRUE(empty.Empty());
}

TEST(BmpResize, SameSizeKeepsInterpolatingFiltersExact) {
  const TBitmap original = test::MakePicture(9, 7, 5);
  for (TResizeMode mode : {rmNearest, rmBilinear, rmBicubic, rmHermite, rmLanczos, rmLagrange}) {
    TBitmap bmp = original;
    ASSERT_TRUE(BmpResize(bmp, 9, 7, mode));
    EXPECT_EQ(test::BitmapDiff(original, bmp), "") << ResizeModeName(mode);
  }
}

// One white pixel in a black 5 x 5 picture, resampled to the same size.
TEST(BmpResize, SameSizeSoftensWithTheSmoothingFilters) {
  struct Case {
    TResizeMode mode;
    int centre, side, diagonal;
  };
  for (const Case& c :
       {Case{rmBSpline, 113, 28, 7}, Case{rmMitchell, 201, 13, 1}, Case{rmBell, 143, 24, 4}}) {
    TBitmap bmp = test::MakeUniform(5, 5, 0);
    bmp.ScanLine(2)[6] = bmp.ScanLine(2)[7] = bmp.ScanLine(2)[8] = 255;
    ASSERT_TRUE(BmpResize(bmp, 5, 5, c.mode));
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 5; ++x) {
        const int distance = std::abs(x - 2) + std::abs(y - 2);
        const bool near = std::abs(x - 2) <= 1 && std::abs(y - 2) <= 1;
        const int expected = !near           ? 0
                             : distance == 0 ? c.centre
                             : distance == 1 ? c.side
                                             : c.diagonal;
        for (int channel = 0; channel < 3; ++channel) {
          EXPECT_EQ(bmp.ScanLine(y)[3 * x + channel], expected)
              << ResizeModeName(c.mode) << " at (" << x << ", " << y << ")";
        }
      }
    }
  }
}

TEST(BmpResize, NearestTakesTheColumnRoundedHalfToEven) {
  struct Case {
    int from, to;
    std::vector<int> columns;
  };
  for (const Case& c : {Case{5, 2, {0, 2}}, Case{3, 2, {0, 2}}, Case{1, 3, {0, 0, 0}}}) {
    TBitmap bmp(c.from, 1);
    for (int x = 0; x < c.from; ++x)
      bmp.ScanLine(0)[3 * x + 2] = std::uint8_t(10 * (x + 1));
    ASSERT_TRUE(BmpResize(bmp, c.to, 1, rmNearest));
    ASSERT_EQ(bmp.Width(), c.to);
    for (int x = 0; x < c.to; ++x) {
      EXPECT_EQ(Red(bmp, x, 0), 10 * (c.columns[x] + 1)) << c.from << " -> " << c.to << " at " << x;
    }
  }
}

// Two grey values doubled to four: the first, their mean, the second twice. The means end in .5
// and go to the even neighbour.
TEST(BmpResize, BilinearRoundsHalfToEvenAndRepeatsTheLastColumn) {
  struct Case {
    int left, right, middle;
  };
  for (const Case& c : {Case{0, 255, 128}, Case{1, 2, 2}, Case{2, 3, 2}, Case{254, 255, 254},
                        Case{253, 254, 254}}) {
    TBitmap bmp(2, 1);
    for (int channel = 0; channel < 3; ++channel) {
      bmp.ScanLine(0)[channel] = std::uint8_t(c.left);
      bmp.ScanLine(0)[3 + channel] = std::uint8_t(c.right);
    }
    ASSERT_TRUE(BmpResize(bmp, 4, 1, rmBilinear));
    const int expected[] = {c.left, c.middle, c.right, c.right};
    for (int x = 0; x < 4; ++x) {
      for (int channel = 0; channel < 3; ++channel) {
        EXPECT_EQ(bmp.ScanLine(0)[3 * x + channel], expected[x])
            << c.left << ", " << c.right << " at " << x;
      }
    }
  }
}

// The optimised resampler against the formulas evaluated per pixel and per tap.
TEST(BmpResize, MatchesTheFormulasByteForByte) {
  struct Size {
    int w, h, rw, rh;
  };
  std::vector<Size> sizes = {{5, 5, 5, 5},    {8, 4, 8, 4},   {1, 1, 1, 1},   {1, 1, 4, 3},
                             {1, 9, 1, 4},    {9, 1, 4, 1},   {1, 6, 5, 11},  {7, 1, 13, 2},
                             {4, 4, 1, 1},    {12, 8, 1, 5},  {12, 8, 7, 1},  {16, 9, 40, 23},
                             {40, 23, 16, 9}, {33, 20, 7, 5}, {3, 2, 50, 31}, {64, 48, 17, 13}};
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int> side(1, 40);
  for (int i = 0; i < 40; ++i)
    sizes.push_back({side(rng), side(rng), side(rng), side(rng)});

  for (TResizeMode mode : kAllModes) {
    for (const Size& s : sizes) {
      for (bool hardEdges : {false, true}) {
        const TBitmap source = Noise(s.w, s.h, rng, hardEdges);
        TBitmap expected = source;
        TBitmap actual = source;
        ASSERT_TRUE(test::ReferenceBmpResize(expected, s.rw, s.rh, mode));
        ASSERT_TRUE(BmpResize(actual, s.rw, s.rh, mode));
        ASSERT_EQ(test::BitmapDiff(expected, actual), "")
            << ResizeModeName(mode) << " " << s.w << "x" << s.h << " -> " << s.rw << "x" << s.rh
            << (hardEdges ? " (hard edges)" : "");
      }
    }
  }
}

TEST(BmpResize, GivesTheSameBytesAtAnyThreadCount) {
  std::mt19937 rng(7);
  const TBitmap source = Noise(97, 61, rng, false);
  for (TResizeMode mode : kAllModes) {
    for (const auto& [rw, rh] : {std::pair{53, 41}, std::pair{150, 97}}) {
      TBitmap single = source;
      ASSERT_TRUE(BmpResizeOnThreads(single, rw, rh, mode, 1));
      for (int threads : {2, 3, 8}) {
        TBitmap many = source;
        ASSERT_TRUE(BmpResizeOnThreads(many, rw, rh, mode, threads));
        EXPECT_EQ(test::BitmapDiff(single, many), "")
            << ResizeModeName(mode) << " on " << threads << " threads";
      }
    }
  }
}

}  // namespace
}  // namespace kelpra
