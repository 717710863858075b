#include <gtest/gtest.h>

#include "codec_test_util.h"
#include "gif_bytes.h"
#include "support/test_pictures.h"

namespace kelpra::test {
namespace {

const std::vector<TColor> kTable = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(9, 9, 9)};
constexpr int kBackground = 3;

std::vector<std::vector<int>> Rows(int width, int height) {
  std::vector<std::vector<int>> rows(std::size_t(height), std::vector<int>(std::size_t(width), 0));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      rows[y][x] = (x + 2 * y) % 3;
  }
  return rows;
}

TBitmap Expected(int screenWidth, int screenHeight, const GifFrame& frame) {
  TBitmap bmp = MakeUniform(screenWidth, screenHeight, kTable[kBackground]);
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const int sx = frame.left + x, sy = frame.top + y;
      const int index = frame.rows[y][x];
      if (sx >= screenWidth || sy >= screenHeight || index == frame.transparent)
        continue;
      bmp.BrushColor = kTable[std::size_t(index)];
      bmp.FillRect({sx, sy, sx + 1, sy + 1});
    }
  }
  return bmp;
}

struct FrameCase {
  const char* name;
  int screenWidth, screenHeight;
  GifFrame frame;
};

class GifFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(GifFrameTest, DrawsTheFirstFrameOnTheScreenOverTheBackground) {
  FrameCase c = GetParam();
  c.frame.rows = Rows(c.frame.width, c.frame.height);
  GifFrame second{.width = c.screenWidth, .height = c.screenHeight};
  second.rows.assign(std::size_t(c.screenHeight), std::vector<int>(std::size_t(c.screenWidth), 0));
  const GifLayout layout{.screenWidth = c.screenWidth,
                         .screenHeight = c.screenHeight,
                         .globalTable = kTable,
                         .background = kBackground,
                         .frames = {c.frame, second}};
  TBitmap bmp;
  ASSERT_EQ(DecodeError(BuildGif(layout), bmp, "t.gif"), "");
  EXPECT_EQ(BitmapDiff(Expected(c.screenWidth, c.screenHeight, c.frame), bmp), "");
}

INSTANTIATE_TEST_SUITE_P(
    Frames, GifFrameTest,
    testing::Values(
        FrameCase{"whole_screen", 5, 4, {.width = 5, .height = 4}},
        FrameCase{"interlaced", 3, 11, {.width = 3, .height = 11, .interlaced = true}},
        FrameCase{"inside_screen", 7, 6, {.left = 2, .top = 1, .width = 3, .height = 2}},
        FrameCase{"transparent_index", 4, 3, {.width = 4, .height = 3, .transparent = 1}},
        FrameCase{"gif_frame_larger_than_screen", 3, 2, {.width = 6, .height = 5}},
        FrameCase{"gif_frame_larger_interlaced",
                  3,
                  2,
                  {.left = 1, .width = 6, .height = 9, .interlaced = true}},
        FrameCase{
            "gif_frame_outside_screen", 4, 3, {.left = 9, .top = 8, .width = 2, .height = 2}}),
    [](const testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

TEST(GifDecoderTest, LocalTableTakesPrecedence) {
  GifFrame frame{.width = 2, .height = 1, .localTable = {RGB(1, 2, 3), RGB(4, 5, 6)}};
  frame.rows = {{1, 0}};
  const GifLayout layout{
      .screenWidth = 2, .screenHeight = 1, .globalTable = kTable, .frames = {frame}};
  TBitmap bmp;
  ASSERT_EQ(DecodeError(BuildGif(layout), bmp, "t.gif"), "");
  TBitmap expected = MakeUniform(2, 1, RGB(1, 2, 3));
  expected.BrushColor = RGB(4, 5, 6);
  expected.FillRect({0, 0, 1, 1});
  EXPECT_EQ(BitmapDiff(expected, bmp), "");
}

TEST(GifDecoderTest, WithoutGlobalTableTheBackgroundIsBlack) {
  GifFrame frame{.left = 1, .width = 1, .height = 1, .localTable = {RGB(7, 7, 7), 0}};
  frame.rows = {{0}};
  const GifLayout layout{.screenWidth = 2, .screenHeight = 1, .frames = {frame}};
  TBitmap bmp;
  ASSERT_EQ(DecodeError(BuildGif(layout), bmp, "t.gif"), "");
  TBitmap expected = MakeUniform(2, 1, RGB(0, 0, 0));
  expected.BrushColor = RGB(7, 7, 7);
  expected.FillRect({1, 0, 2, 1});
  EXPECT_EQ(BitmapDiff(expected, bmp), "");
}

// The background never shows where an opaque first frame covers the screen, so an index past
// the table is no fault there; a transparent index that no pixel uses changes nothing.
TEST(GifDecoderTest, BackgroundPastTheTableUnderACoveringFrame) {
  for (const std::optional<int> transparent : {std::optional<int>(), std::optional<int>(2)}) {
    GifFrame frame{.width = 3, .height = 2, .transparent = transparent};
    frame.rows = {{0, 1, 0}, {1, 1, 0}};
    const GifLayout layout{.screenWidth = 3,
                           .screenHeight = 2,
                           .globalTable = {RGB(10, 20, 30), RGB(40, 50, 60)},
                           .background = 7,
                           .frames = {frame}};
    TBitmap bmp;
    ASSERT_EQ(DecodeError(BuildGif(layout), bmp, "t.gif"), "");
    TBitmap expected = MakeUniform(3, 2, RGB(10, 20, 30));
    expected.BrushColor = RGB(40, 50, 60);
    expected.FillRect({1, 0, 2, 2});
    expected.FillRect({0, 1, 1, 2});
    EXPECT_EQ(BitmapDiff(expected, bmp), "") << transparent.has_value();
  }
}

TEST(GifDecoderTest, LibraryWrittenPictureRoundTrips) {
  TempDir dir;
  TBitmap picture = MakeUniform(9, 7, RGB(10, 200, 30));
  picture.BrushColor = RGB(250, 1, 2);
  picture.FillRect({2, 1, 6, 5});
  WriteGif(picture, dir / "p.gif");
  TBitmap bmp;
  LoadFile(dir / "p.gif", bmp);
  EXPECT_EQ(BitmapDiff(picture, bmp), "");
}

}  // namespace
}  // namespace kelpra::test
