#include "imaging/bitmap.h"

#include <gtest/gtest.h>

#include <utility>

#include "picture_fixtures.h"

namespace kelpra::fixtures {
namespace {

TBitmap Numbered(int w, int h) {
  return MakePicture(w, h, [](int x, int y) { return Bgr(std::uint8_t(x), std::uint8_t(y), 7); });
}

TEST(BitmapTest, RowsArePaddedToFourBytes) {
  const struct {
    int width;
    TPixelFormat format;
    std::size_t stride;
  } cases[] = {{1, pf24bit, 4}, {4, pf24bit, 12}, {5, pf24bit, 16}, {5, pf8bit, 8}, {0, pf8bit, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(RowStride(c.width, c.format), c.stride) << c.width;
    EXPECT_EQ(TBitmap(c.width, 2, c.format).Stride(), c.stride) << c.width;
  }
}

TEST(BitmapTest, AssignCopiesIntoTheSameObjectAndKeepsItsBrush) {
  TBitmap gray(3, 2, pf8bit);
  gray.Palette()[9] = {1, 2, 3, 0};
  gray.ScanLine(1)[2] = 9;
  TBitmap target(5, 5);
  target.BrushColor = RGB(1, 2, 3);
  TBitmap* const identity = &target;
  target.Assign(gray);
  EXPECT_EQ(identity, &target);
  EXPECT_TRUE(SameBitmap(gray, target));
  EXPECT_EQ(target.BrushColor, RGB(1, 2, 3));
  gray.ScanLine(1)[2] = 4;
  EXPECT_EQ(target.ScanLine(1)[2], 9);
}

// A working bitmap handed over keeps the target's storage when the size stays (views of its
// rows stay valid), and is taken over instead of copied when it would be replaced anyway.
TEST(BitmapTest, AssignFromAWorkingBitmapKeepsOrTakesOverTheStorage) {
  const struct {
    int width, height;
    bool keepsStorage;
  } cases[] = {{3, 2, true}, {2, 3, false}, {0, 0, false}};
  for (const auto& c : cases) {
    TBitmap target = Numbered(3, 2);
    target.BrushColor = RGB(4, 5, 6);
    const std::uint8_t* const storage = target.ScanLine(0);
    TBitmap work = Numbered(c.width, c.height);
    const TBitmap expected = work;
    const std::uint8_t* const workStorage = work.ScanLine(0);
    target.Assign(std::move(work));
    EXPECT_TRUE(SameBitmap(expected, target));
    EXPECT_EQ(target.BrushColor, RGB(4, 5, 6));
    EXPECT_EQ(target.ScanLine(0), c.keepsStorage ? storage : workStorage);
  }
}

TEST(BitmapTest, ResizingKeepsTheSharedAreaAndBlackensTheRest) {
  const struct { int width, height; } sizes[] = {{6, 5}, {2, 2}, {2, 7}, {0, 3}};
  for (const auto& s : sizes) {
    TBitmap bmp = Numbered(4, 3);
    bmp.SetSize(s.width, s.height);
    ASSERT_EQ(bmp.Width(), s.width);
    ASSERT_EQ(bmp.Height(), s.height);
    for (int y = 0; y < s.height; ++y) {
      for (int x = 0; x < s.width; ++x) {
        const Bgr8 expected = x < 4 && y < 3 ? Bgr8{x, y, 7} : Bgr8{0, 0, 0};
        ASSERT_EQ(PixelAt(bmp, x, y), expected) << x << "," << y;
      }
    }
  }
}

TEST(BitmapTest, FormatConversionGoesThroughTheColourTable) {
  TBitmap bmp(2, 1, pf8bit);
  for (int i = 0; i < 256; ++i)
    bmp.Palette()[i] = {std::uint8_t(i), std::uint8_t(i), 0, 0};
  bmp.ScanLine(0)[0] = 10;
  bmp.ScanLine(0)[1] = 200;
  bmp.SetPixelFormat(pf24bit);
  EXPECT_EQ(PixelAt(bmp, 0, 0), (Bgr8{10, 10, 0}));
  EXPECT_EQ(PixelAt(bmp, 1, 0), (Bgr8{200, 200, 0}));
  bmp.SetPixelFormat(pf8bit);
  EXPECT_EQ(bmp.ScanLine(0)[0], 10);
  EXPECT_EQ(bmp.ScanLine(0)[1], 200);
}

TEST(BitmapTest, FillResolvesSystemColoursAndClips) {
  TBitmap bmp(4, 3);
  bmp.BrushColor = clBtnShadow;
  bmp.FillRect({-5, -5, 2, 1});
  bmp.BrushColor = RGB(10, 20, 30);
  bmp.FillRect({3, 2, 99, 99});
  EXPECT_EQ(PixelAt(bmp, 0, 0), GrayBgr(160));
  EXPECT_EQ(PixelAt(bmp, 1, 0), GrayBgr(160));
  EXPECT_EQ(PixelAt(bmp, 2, 0), GrayBgr(0));
  EXPECT_EQ(PixelAt(bmp, 0, 1), GrayBgr(0));
  EXPECT_EQ(PixelAt(bmp, 3, 2), (Bgr8{30, 20, 10}));
  EXPECT_EQ(ColorToRGB(RGB(10, 20, 30)), RGB(10, 20, 30));
}

TEST(BitmapTest, DrawClipsAtEveryEdge) {
  const struct { int x, y; } positions[] = {{-2, -1}, {3, 2}, {0, 0}, {-9, 0}, {9, 9}};
  const TBitmap source = Numbered(3, 2);
  for (const auto& p : positions) {
    TBitmap bmp(5, 4);
    bmp.Draw(p.x, p.y, source);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 5; ++x) {
        const int sx = x - p.x;
        const int sy = y - p.y;
        const bool inside = sx >= 0 && sx < 3 && sy >= 0 && sy < 2;
        ASSERT_EQ(PixelAt(bmp, x, y), (inside ? Bgr8{sx, sy, 7} : Bgr8{0, 0, 0}))
            << "drawn at " << p.x << "," << p.y << ", pixel " << x << "," << y;
      }
    }
  }
}

TEST(BitmapTest, StretchCopyTakesTheNearestSourcePixel) {
  TBitmap bmp(4, 2);
  bmp.StretchCopy({0, 0, 4, 2}, Numbered(2, 1), {0, 0, 2, 1});
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(PixelAt(bmp, x, y), (Bgr8{x / 2, 0, 7}));
  }
}

}  // namespace
}  // namespace kelpra::fixtures
