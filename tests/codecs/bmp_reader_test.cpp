#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "bmp_bytes.h"
#include "codec_test_util.h"
#include "support/test_pictures.h"

namespace kelpra::test {
namespace {

std::vector<TRGBQuad> TestPalette(int count) {
  std::vector<TRGBQuad> palette;
  for (int i = 0; i < count; ++i) {
    palette.push_back({std::uint8_t(i * 7 + 1), std::uint8_t(250 - i * 3), std::uint8_t(i * 13)});
  }
  return palette;
}

std::vector<std::vector<int>> TestIndices(int width, int height, int colours) {
  std::vector<std::vector<int>> rows(std::size_t(height), std::vector<int>(std::size_t(width), 0));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      rows[y][x] = (x * 5 + y * 3 + x * y) % colours;
  }
  return rows;
}

// bits per pixel, header size, top-down
class BmpIndexedTest : public testing::TestWithParam<std::tuple<int, int, bool>> {};

TEST_P(BmpIndexedTest, DecodesThroughTheColourTable) {
  const auto [bits, headerSize, topDown] = GetParam();
  // The core header has no colour count: its table is always full.
  const int colours = headerSize == 12 ? 1 << bits : std::min(1 << bits, 19);
  const auto indices = TestIndices(13, 5, colours);  // 13: rows need padding at every depth
  BmpLayout layout{.width = 13,
                   .height = 5,
                   .topDown = topDown,
                   .headerSize = headerSize,
                   .bitCount = bits,
                   .palette = TestPalette(colours),
                   .pixels = PackIndices(indices, bits, topDown)};
  TBitmap bmp;
  ASSERT_EQ(DecodeError(BuildBmp(layout), bmp), "");
  EXPECT_EQ(BitmapDiff(FromIndices(indices, layout.palette), bmp), "");
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpIndexedTest,
                         testing::Values(std::tuple(1, 12, false), std::tuple(4, 12, false),
                                         std::tuple(8, 12, false), std::tuple(1, 40, false),
                                         std::tuple(4, 40, true), std::tuple(8, 40, false),
                                         std::tuple(8, 40, true), std::tuple(1, 108, true),
                                         std::tuple(4, 124, false), std::tuple(8, 124, true)));

// header size, top-down
class Bmp24Test : public testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(Bmp24Test, DecodesTheStoredPixels) {
  const auto [headerSize, topDown] = GetParam();
  const TBitmap picture = MakePicture(7, 4, 5);
  std::vector<std::uint8_t> rows;
  for (int r = 0; r < picture.Height(); ++r) {
    const std::uint8_t* row = picture.ScanLine(topDown ? r : picture.Height() - 1 - r);
    rows.insert(rows.end(), row, row + picture.Stride());
  }
  BmpLayout layout{.width = 7,
                   .height = 4,
                   .topDown = topDown,
                   .headerSize = headerSize,
                   .bitCount = 24,
                   .pixels = rows};
  TBitmap bmp;
  ASSERT_EQ(DecodeError(BuildBmp(layout), bmp), "");
  EXPECT_EQ(BitmapDiff(picture, bmp), "");
}

INSTANTIATE_TEST_SUITE_P(Headers, Bmp24Test,
                         testing::Values(std::tuple(12, false), std::tuple(40, false),
                                         std::tuple(40, true), std::tuple(52, false),
                                         std::tuple(56, true), std::tuple(108, false),
                                         std::tuple(124, true)));

struct MaskedCase {
  const char* name;
  int bits;
  std::uint32_t compression;
  int headerSize;
  std::array<std::uint32_t, 3> masks;
  std::array<std::uint32_t, 4> pixels;  // 2 x 2, top row first
  std::array<TColor, 4> expected;       // hand-checked: the top 8 bits, or the bits repeated
};

class BmpMaskedTest : public testing::TestWithParam<MaskedCase> {};

TEST_P(BmpMaskedTest, ScalesEveryChannelToEightBits) {
  const MaskedCase& c = GetParam();
  std::vector<std::uint8_t> rows;
  const int bytes = c.bits / 8;
  for (int r : {1, 0}) {  // bottom-up
    for (int x = 0; x < 2; ++x) {
      for (int i = 0; i < bytes; ++i)
        rows.push_back(std::uint8_t(c.pixels[2 * r + x] >> 8 * i));
    }
    while (rows.size() % 4)
      rows.push_back(0);
  }
  BmpLayout layout{.width = 2,
                   .height = 2,
                   .headerSize = c.headerSize,
                   .bitCount = c.bits,
                   .compression = c.compression,
                   .masks = c.masks,
                   .pixels = rows};
  TBitmap bmp;
  ASSERT_EQ(DecodeError(BuildBmp(layout), bmp), "");
  TBitmap expected(2, 2);
  for (int i = 0; i < 4; ++i) {
    expected.BrushColor = c.expected[i];
    expected.FillRect({i % 2, i / 2, i % 2 + 1, i / 2 + 1});
  }
  EXPECT_EQ(BitmapDiff(expected, bmp), "");
}

INSTANTIATE_TEST_SUITE_P(
    Masks, BmpMaskedTest,
    testing::Values(
        MaskedCase{"rgb555",
                   16,
                   0,
                   40,
                   {},
                   {0x7FFF, 0x7C00, 0x03E0, 0x0210},
                   {RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 132, 132)}},
        MaskedCase{"bitfields565",
                   16,
                   3,
                   40,
                   {0xF800, 0x07E0, 0x001F},
                   {0xFFFF, 0xF800, 0x07E0, 0x0410},
                   {RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 130, 132)}},
        MaskedCase{"rgb32",
                   32,
                   0,
                   40,
                   {},
                   {0xAA112233, 0x00FFFFFF, 0xFF000000, 0x00000080},
                   {RGB(0x11, 0x22, 0x33), RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0x80)}},
        MaskedCase{"bitfields101010v5",
                   32,
                   3,
                   124,
                   {0x3FF00000, 0x000FFC00, 0x000003FF},
                   {0x3FF00200, 0, 0x3FFFFFFF, 0xC0000000},
                   {RGB(255, 0, 128), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)}},
        // 1 bit: 0 or 255; 3 bits: 101 -> 10110110; 12 bits: the top 8.
        MaskedCase{"bitfields_1_3_12",
                   32,
                   3,
                   40,
                   {0x80000000, 0x70000000, 0x00FFF000},
                   {0xD0ABC000, 0, 0x70001000, 0x80FFF000},
                   {RGB(255, 182, 171), RGB(0, 0, 0), RGB(0, 255, 0), RGB(255, 0, 255)}},
        MaskedCase{"bitfields32v4",
                   32,
                   3,
                   108,
                   {0x0000FF00, 0x00FF0000, 0xFF000000},
                   {0x11223344, 0, 0, 0},
                   {RGB(0x33, 0x22, 0x11), 0, 0, 0}}),
    [](const testing::TestParamInfo<MaskedCase>& info) { return std::string(info.param.name); });

// Every value of every channel of 555 and 565 pixels, against the Windows conversion: the value
// in the top bits, its own top bits repeated below.
TEST(BmpSixteenBitTest, EveryChannelValueExpandsByBitReplication) {
  const auto five = [](std::uint32_t v) { return std::uint8_t(v << 3 | v >> 2); };
  const auto six = [](std::uint32_t v) { return std::uint8_t(v << 2 | v >> 4); };
  for (const bool is565 : {false, true}) {
    constexpr int kWidth = 64;
    std::vector<std::uint8_t> row;
    TBitmap expected(kWidth, 1);
    for (std::uint32_t x = 0; x < kWidth; ++x) {
      const std::uint32_t red = x % 32, green = is565 ? x : x % 32, blue = (63 - x) % 32;
      const std::uint32_t pixel =
          is565 ? red << 11 | green << 5 | blue : red << 10 | green << 5 | blue;
      row.push_back(std::uint8_t(pixel));
      row.push_back(std::uint8_t(pixel >> 8));
      expected.BrushColor = RGB(five(red), is565 ? six(green) : five(green), five(blue));
      expected.FillRect({int(x), 0, int(x) + 1, 1});
    }
    const BmpLayout layout{.width = kWidth,
                           .height = 1,
                           .bitCount = 16,
                           .compression = is565 ? 3u : 0u,
                           .masks = {0xF800, 0x07E0, 0x001F},
                           .pixels = row};
    TBitmap bmp;
    ASSERT_EQ(DecodeError(BuildBmp(layout), bmp), "");
    EXPECT_EQ(BitmapDiff(expected, bmp), "") << (is565 ? "565" : "555");
  }
}

const std::vector<TRGBQuad> kRlePalette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {1, 2, 3}};

TEST(BmpRleTest, Rle8RunsLiteralsDeltaEndOfLineAndEndOfBitmap) {
  // Bottom row: a run of three 1s, a literal 2 3 1 (padded), end of line. Next row: a delta
  // of (2, 1) skips it; a run of two 3s, end of line. Top row: six 2s, end of bitmap.
  const std::vector<std::uint8_t> stream = {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0,
                                            2, 2, 1, 2, 3, 0, 0, 6, 2, 0, 1};
  const BmpLayout layout{.width = 6,
                         .height = 4,
                         .bitCount = 8,
                         .compression = 1,
                         .palette = kRlePalette,
                         .pixels = stream};
  TBitmap bmp;
  ASSERT_EQ(DecodeError(BuildBmp(layout), bmp), "");
  // Skipped pixels keep colour 0.
  EXPECT_EQ(
      BitmapDiff(
          FromIndices(
              {{2, 2, 2, 2, 2, 2}, {0, 0, 3, 3, 0, 0}, {0, 0, 0, 0, 0, 0}, {1, 1, 1, 2, 3, 1}},
              kRlePalette),
          bmp),
      "");
}

TEST(BmpRleTest, Rle4RunsAlternateNibblesAndLiteralsArePadded) {
  // Bottom row: a run 1 2 1, a literal 2 1 3, end of line. Top row: a literal 0 1 2 3 3 of
  // three bytes and a padding byte, a run of one 3, end of bitmap.
  const std::vector<std::uint8_t> stream = {3, 0x12, 0,    3,    0x21, 0x30, 0,    0, 0,
                                            5, 0x01, 0x23, 0x30, 0,    1,    0x30, 0, 1};
  for (const bool topDown : {false, true}) {
    const BmpLayout layout{.width = 6,
                           .height = 2,
                           .topDown = topDown,
                           .bitCount = 4,
                           .compression = 2,
                           .palette = kRlePalette,
                           .pixels = stream};
    TBitmap bmp;
    ASSERT_EQ(DecodeError(BuildBmp(layout), bmp), "");
    std::vector<std::vector<int>> rows = {{0, 1, 2, 3, 3, 3}, {1, 2, 1, 2, 1, 3}};
    if (topDown)
      std::swap(rows[0], rows[1]);
    EXPECT_EQ(BitmapDiff(FromIndices(rows, kRlePalette), bmp), "") << "top-down " << topDown;
  }
}

}  // namespace
}  // namespace kelpra::test
