#include "imaging/filters.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "picture_fixtures.h"

namespace kelpra::fixtures {
namespace {

// Columns 0..2 grey 100, columns 3..5 grey 200.
TEST(SharpenTest, OvershootsBothSidesOfAStep) {
  const struct {
    int percent;
    int dark, bright;
  } cases[] = {{10, 70, 230}, {100, 0, 255}, {0, 100, 200}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.percent);
    TBitmap bmp = MakePicture(6, 3, [](int x, int) { return Gray(x < 3 ? 100 : 200); });
    ASSERT_TRUE(Sharpen(bmp, c.percent));
    for (int y = 0; y < 3; ++y) {
      const int expected[] = {100, 100, c.dark, c.bright, 200, 200};
      for (int x = 0; x < 6; ++x)
        EXPECT_EQ(PixelAt(bmp, x, y), GrayBgr(expected[x])) << x << "," << y;
    }
  }
}

TEST(GaussianBlurTest, SpreadsASingleWhitePixel) {
  TBitmap bmp = MakePicture(11, 11, [](int x, int y) { return Gray(x == 5 && y == 5 ? 255 : 0); });
  ASSERT_TRUE(GaussianBlur(bmp, 1));
  // By distance from the centre along x and y.
  const int expected[4][4] = {{41, 25, 6, 0}, {25, 15, 3, 0}, {6, 3, 1, 0}, {0, 0, 0, 0}};
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 11; ++x) {
      const int dx = std::min(std::abs(x - 5), 3);
      const int dy = std::min(std::abs(y - 5), 3);
      EXPECT_EQ(PixelAt(bmp, x, y), GrayBgr(expected[dy][dx])) << "at (" << x << ", " << y << ")";
    }
  }
}

TEST(SoftenTest, BlendsWithTheBlur) {
  TBitmap bmp = MakePicture(9, 9, [](int x, int y) { return Gray(x == 4 && y == 4 ? 255 : 0); });
  ASSERT_TRUE(Soften(bmp, 50));
  EXPECT_EQ(PixelAt(bmp, 4, 4), GrayBgr(148));
  EXPECT_EQ(PixelAt(bmp, 3, 4), GrayBgr(12));  // 12.5 rounds to the even 12
  EXPECT_EQ(PixelAt(bmp, 5, 4), GrayBgr(12));

  std::mt19937 rng(3);
  const TBitmap original = RandomPicture(23, 17, rng);
  TBitmap unchanged = original;
  ASSERT_TRUE(Soften(unchanged, 0));
  EXPECT_TRUE(SameBitmap(original, unchanged));
  TBitmap full = original;
  TBitmap blurred = original;
  ASSERT_TRUE(Soften(full, 100));
  ASSERT_TRUE(GaussianBlur(blurred, 1));
  EXPECT_TRUE(SameBitmap(blurred, full));
}

TEST(NeighbourhoodFilterTest, UniformPicturesStayUniformUpToTheirCorners) {
  const struct {
    std::string name;
    std::function<bool(TBitmap&)> apply;
  } filters[] = {
      {"Sharpen 1", [](TBitmap& b) { return Sharpen(b, 1); }},
      {"Sharpen 100", [](TBitmap& b) { return Sharpen(b, 100); }},
      {"GaussianBlur 1", [](TBitmap& b) { return GaussianBlur(b, 1); }},
      {"GaussianBlur 4", [](TBitmap& b) { return GaussianBlur(b, 4); }},
      {"GaussianBlur 30", [](TBitmap& b) { return GaussianBlur(b, 30); }},
      {"Soften 50", [](TBitmap& b) { return Soften(b, 50); }},
      {"Soften 100", [](TBitmap& b) { return Soften(b, 100); }},
  };
  const std::pair<int, int> shapes[] = {{1, 1}, {1, 7}, {7, 1}, {3, 2}, {50, 40}, {200, 3}};
  for (const auto& filter : filters) {
    for (const auto& [w, h] : shapes) {
      for (const TRGBTriple color : {Gray(0), Gray(255), Bgr(1, 128, 254), Bgr(77, 3, 200)}) {
        SCOPED_TRACE(filter.name + " on " + std::to_string(w) + " x " + std::to_string(h));
        const TBitmap original = UniformPicture(w, h, color);
        TBitmap bmp = original;
        ASSERT_TRUE(filter.apply(bmp));
        ASSERT_TRUE(SameBitmap(original, bmp));
      }
    }
  }
}

}  // namespace
}  // namespace kelpra::fixtures
