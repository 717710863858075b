#include "imaging/geometry.h"

#include <gtest/gtest.h>

#include <random>

#include "picture_fixtures.h"

namespace kelpra::fixtures {
namespace {

// Every pixel of the 4 x 2 picture is different: blue x, green y, red 1.
TBitmap FourByTwo() {
  return MakePicture(4, 2, [](int x, int y) { return Bgr(std::uint8_t(x), std::uint8_t(y), 1); });
}

TEST(RotateTest, QuarterTurnsMoveTheCornersAndSwapTheSides) {
  const struct {
    bool plus;
    Bgr8 topLeft, topRight, bottomLeft, bottomRight;  // source pixels as (x, y, 1)
  } cases[] = {
      {true, {0, 1, 1}, {0, 0, 1}, {3, 1, 1}, {3, 0, 1}},
      {false, {3, 0, 1}, {3, 1, 1}, {0, 0, 1}, {0, 1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.plus ? "clockwise" : "counter-clockwise");
    TBitmap bmp = FourByTwo();
    ASSERT_TRUE(Rotate90(bmp, c.plus));
    ASSERT_EQ(bmp.Width(), 2);
    ASSERT_EQ(bmp.Height(), 4);
    EXPECT_EQ(PixelAt(bmp, 0, 0), c.topLeft);
    EXPECT_EQ(PixelAt(bmp, 1, 0), c.topRight);
    EXPECT_EQ(PixelAt(bmp, 0, 3), c.bottomLeft);
    EXPECT_EQ(PixelAt(bmp, 1, 3), c.bottomRight);
  }
}

TEST(RotateTest, HalfTurnSwapsOppositeCorners) {
  TBitmap bmp = FourByTwo();
  ASSERT_TRUE(Rotate180(bmp));
  ASSERT_EQ(bmp.Width(), 4);
  EXPECT_EQ(PixelAt(bmp, 0, 0), (Bgr8{3, 1, 1}));
  EXPECT_EQ(PixelAt(bmp, 3, 1), (Bgr8{0, 0, 1}));
  EXPECT_EQ(PixelAt(bmp, 3, 0), (Bgr8{0, 1, 1}));
}

TEST(RotateTest, SinglePixelIsUnchanged) {
  const TBitmap original = UniformPicture(1, 1, Bgr(1, 2, 3));
  for (int turn = 0; turn < 3; ++turn) {
    TBitmap bmp = original;
    ASSERT_TRUE(turn == 2 ? Rotate180(bmp) : Rotate90(bmp, turn == 0));
    EXPECT_TRUE(SameBitmap(original, bmp));
  }
}

// Larger than one 64-pixel tile in both directions, with padded rows.
TEST(RotateTest, TurnsThatAddUpToNothingGiveTheOriginal) {
  std::mt19937 rng(7);
  const TBitmap original = RandomPicture(131, 70, rng);
  for (const bool plus : {true, false}) {
    TBitmap bmp = original;
    for (int i = 0; i < 4; ++i)
      ASSERT_TRUE(Rotate90(bmp, plus));
    EXPECT_TRUE(SameBitmap(original, bmp)) << "four quarter turns, plus " << plus;
  }
  TBitmap there = original;
  Rotate90(there, true);
  Rotate90(there, false);
  EXPECT_TRUE(SameBitmap(original, there)) << "clockwise then back";
  TBitmap half = original;
  Rotate180(half);
  TBitmap twoQuarters = original;
  Rotate90(twoQuarters, true);
  Rotate90(twoQuarters, true);
  EXPECT_TRUE(SameBitmap(twoQuarters, half)) << "two quarter turns against a half turn";
  Rotate180(half);
  EXPECT_TRUE(SameBitmap(original, half)) << "two half turns";
}

// Left page pixels are (x, y, 10), right page pixels (x, y, 20) in their own coordinates.
TBitmap Page(int w, int h, std::uint8_t tag) {
  return MakePicture(w, h,
                     [&](int x, int y) { return Bgr(std::uint8_t(x), std::uint8_t(y), tag); });
}

struct SpreadCase {
  int leftW, leftH, rightW, rightH, split;
  int width, height;
  TColor color;
  Bgr8 background;
};

TEST(SideBySideTest, PlacesBothPagesTopAlignedInsideFrameAndGap) {
  const SpreadCase cases[] = {
      {100, 200, 120, 150, 3, 225, 202, clBtnShadow, GrayBgr(160)},
      {100, 200, 120, 150, 0, 222, 202, clBtnShadow, GrayBgr(160)},
      {30, 20, 10, 45, 5, 47, 47, RGB(10, 20, 30), {30, 20, 10}},
  };
  for (const SpreadCase& c : cases) {
    SCOPED_TRACE("split " + std::to_string(c.split));
    TBitmap left = Page(c.leftW, c.leftH, 10);
    const TBitmap right = Page(c.rightW, c.rightH, 20);
    const TBitmap rightBefore = right;
    ASSERT_TRUE(SideBySide(left, right, c.color, c.split));
    const int rightX = c.leftW + c.split + 1;
    ASSERT_EQ(left.Width(), c.width);
    ASSERT_EQ(left.Height(), c.height);
    EXPECT_TRUE(SameBitmap(rightBefore, right));
    for (int y = 0; y < left.Height(); ++y) {
      for (int x = 0; x < left.Width(); ++x) {
        Bgr8 expected = c.background;
        if (x >= 1 && x <= c.leftW && y >= 1 && y <= c.leftH) {
          expected = {(x - 1) % 256, (y - 1) % 256, 10};
        } else if (x >= rightX && x < rightX + c.rightW && y >= 1 && y <= c.rightH) {
          expected = {(x - rightX) % 256, (y - 1) % 256, 20};
        }
        ASSERT_EQ(PixelAt(left, x, y), expected) << "at (" << x << ", " << y << ")";
      }
    }
  }
}

}  // namespace
}  // namespace kelpra::fixtures
