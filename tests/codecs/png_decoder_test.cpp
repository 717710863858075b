#include <gtest/gtest.h>

#include "codec_test_util.h"
#include "library_fixtures.h"
#include "support/test_pictures.h"

namespace kelpra::test {
namespace {

struct PngCase {
  const char* name;
  PngLayout layout;
  std::vector<TColor> expected;  // width x height, top row first; hand-checked
};

class PngDecoderTest : public testing::TestWithParam<PngCase> {};

TEST_P(PngDecoderTest, DecodesToTwentyFourBits) {
  const PngCase& c = GetParam();
  for (const bool interlaced : {false, true}) {
    PngLayout layout = c.layout;
    layout.interlaced = interlaced;
    TBitmap bmp;
    ASSERT_EQ(DecodeError(EncodePng(layout), bmp, "t.png"), "");
    TBitmap expected(layout.width, layout.height);
    for (int i = 0; i < layout.width * layout.height; ++i) {
      expected.BrushColor = c.expected[std::size_t(i)];
      expected.FillRect(
          {i % layout.width, i / layout.width, i % layout.width + 1, i / layout.width + 1});
    }
    EXPECT_EQ(BitmapDiff(expected, bmp), "") << "interlaced " << interlaced;
  }
}

const std::vector<TRGBQuad> kPalette = {{1, 2, 3}, {200, 150, 100}, {0, 0, 255}};

INSTANTIATE_TEST_SUITE_P(
    Formats, PngDecoderTest,
    testing::Values(
        PngCase{"rgb8",
                {2, 1, 2, 8, false, {10, 20, 30, 250, 251, 252}},
                {RGB(10, 20, 30), RGB(250, 251, 252)}},
        // 16-bit samples scale to 8 bits rounded: 0x1234 / 257 = 18.1.
        PngCase{"rgb16",
                {2, 1, 2, 16, false, {0xFF, 0xFF, 0x80, 0x80, 0, 0, 0x12, 0x34, 0x7F, 0x7F, 0, 1}},
                {RGB(255, 128, 0), RGB(18, 127, 0)}},
        PngCase{"grey1",
                {3, 1, 0, 1, false, {0, 1, 0}},
                {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)}},
        PngCase{"grey2",
                {4, 1, 0, 2, false, {0, 1, 2, 3}},
                {RGB(0, 0, 0), RGB(85, 85, 85), RGB(170, 170, 170), RGB(255, 255, 255)}},
        PngCase{"grey4", {2, 1, 0, 4, false, {1, 15}}, {RGB(17, 17, 17), RGB(255, 255, 255)}},
        PngCase{"grey16", {1, 1, 0, 16, false, {0x80, 0x80}}, {RGB(128, 128, 128)}},
        PngCase{"palette8",
                {3, 1, 3, 8, false, {2, 0, 1}, kPalette},
                {RGB(255, 0, 0), RGB(3, 2, 1), RGB(100, 150, 200)}},
        PngCase{"palette2",
                {3, 1, 3, 2, false, {1, 2, 0}, kPalette},
                {RGB(100, 150, 200), RGB(255, 0, 0), RGB(3, 2, 1)}},
        // Alpha: channel * alpha / 255 rounded to nearest, over black.
        PngCase{"rgba8",
                {3, 1, 6, 8, false, {50, 100, 200, 128, 9, 9, 9, 0, 1, 2, 3, 255}},
                {RGB(25, 50, 100), RGB(0, 0, 0), RGB(1, 2, 3)}},
        PngCase{"rgba16",
                {1, 1, 6, 16, false, {0xC8, 0xC8, 0x64, 0x64, 0x32, 0x32, 0x80, 0x80}},
                {RGB(100, 50, 25)}},
        PngCase{"grey_alpha8",
                {2, 1, 4, 8, false, {200, 64, 255, 255}},
                {RGB(50, 50, 50), RGB(255, 255, 255)}},
        // A single transparent colour keeps its stored colours.
        PngCase{"rgb_trns",
                {2,
                 1,
                 2,
                 8,
                 false,
                 {10, 20, 30, 1, 1, 1},
                 {},
                 {},
                 {},
                 std::array<std::uint16_t, 3>{10, 20, 30}},
                {RGB(10, 20, 30), RGB(1, 1, 1)}},
        PngCase{"grey_trns",
                {2, 1, 0, 8, false, {7, 8}, {}, {}, std::uint16_t(7)},
                {RGB(7, 7, 7), RGB(8, 8, 8)}},
        PngCase{"palette_trns",
                {2, 1, 3, 8, false, {1, 0}, kPalette, {0, 0, 0}},
                {RGB(100, 150, 200), RGB(3, 2, 1)}},
        PngCase{"palette_binary_trns",
                {3, 1, 3, 8, false, {1, 0, 2}, kPalette, {255, 0}},
                {RGB(100, 150, 200), RGB(3, 2, 1), RGB(255, 0, 0)}},
        // Partial transparency blends as alpha does; entries past the table are opaque.
        PngCase{"palette_partial_trns",
                {4, 1, 3, 4, false, {0, 1, 2, 1}, kPalette, {128, 0}},
                {RGB(2, 1, 1), RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 0)}},
        PngCase{"palette_partial_trns_all_entries",
                {2, 1, 3, 8, false, {1, 2}, kPalette, {0, 64, 1}},
                {RGB(25, 38, 50), RGB(1, 0, 0)}}),
    [](const testing::TestParamInfo<PngCase>& info) { return std::string(info.param.name); });

TEST(PngDecoderLimitsTest, LargeTextChunkIsSkippedAndThePictureShows) {
  PngLayout layout{2, 1, 2, 8, false, {10, 20, 30, 40, 50, 60}};
  layout.textBytes = 9 << 20;  // past the 8 MB chunk limit
  TBitmap bmp;
  ASSERT_EQ(DecodeError(EncodePng(layout), bmp, "t.png"), "");
  EXPECT_EQ(bmp.Width(), 2);
}

TEST(PngDecoderLimitsTest, LibraryWrittenPictureRoundTrips) {
  TempDir dir;
  const TBitmap picture = MakePicture(31, 17, 9);
  WritePng(picture, dir / "p.png");
  TBitmap bmp;
  LoadFile(dir / "p.png", bmp);
  EXPECT_EQ(BitmapDiff(picture, bmp), "");
}

}  // namespace
}  // namespace kelpra::test
