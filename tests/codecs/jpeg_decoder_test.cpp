#include <gtest/gtest.h>

#include "codec_test_util.h"
#include "library_fixtures.h"
#include "support/test_pictures.h"

namespace kelpra::test {
namespace {

// JPEG is lossy: uniform areas come back within a few levels at quality 95.
constexpr int kTolerance = 3;

TEST(JpegDecoderTest, ColourPictureAtFullSize) {
  const TBitmap picture = MakeUniform(40, 24, RGB(200, 100, 50));
  TBitmap bmp;
  ASSERT_EQ(DecodeError(EncodeJpeg(picture, {}), bmp, "t.jpg"), "");
  EXPECT_LE(MaxChannelDifference(picture, bmp), kTolerance);
}

TEST(JpegDecoderTest, QuadrantsStayInPlaceAtFullSize) {
  TBitmap picture = MakeUniform(32, 48, RGB(250, 10, 10));
  const TColor colours[] = {RGB(10, 250, 10), RGB(10, 10, 250), RGB(240, 240, 240)};
  const TRect areas[] = {{16, 0, 32, 16}, {0, 16, 16, 48}, {16, 16, 32, 48}};
  for (int i = 0; i < 3; ++i) {
    picture.BrushColor = colours[i];
    picture.FillRect(areas[i]);
  }
  TBitmap bmp;
  ASSERT_EQ(DecodeError(EncodeJpeg(picture, {.quality = 100}), bmp, "t.jpg"), "");
  // Chroma is subsampled: compare away from the edges between colours.
  for (const TRect& area :
       {TRect{2, 2, 14, 14}, TRect{18, 2, 30, 14}, TRect{2, 18, 14, 46}, TRect{18, 18, 30, 46}}) {
    for (int y = area.Top; y < area.Bottom; ++y) {
      for (int i = 3 * area.Left; i < 3 * area.Right; ++i) {
        ASSERT_NEAR(bmp.ScanLine(y)[i], picture.ScanLine(y)[i], 6) << "row " << y << " byte " << i;
      }
    }
  }
}

TEST(JpegDecoderTest, GreyPictureGivesEqualChannels) {
  TBitmap picture(16, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x)
      picture.ScanLine(y)[3 * x] = std::uint8_t(x * 16);
  }
  TBitmap bmp;
  ASSERT_EQ(DecodeError(EncodeJpeg(picture, {.components = 1}), bmp, "t.jpg"), "");
  TBitmap grey(16, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) {
      const std::uint8_t* p = bmp.ScanLine(y) + 3 * x;
      EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]) << "pixel (" << x << ", " << y << ")";
      std::fill_n(grey.ScanLine(y) + 3 * x, 3, std::uint8_t(x * 16));
    }
  }
  EXPECT_LE(MaxChannelDifference(grey, bmp), 8);
}

// Adobe stores CMYK inverted (255: no ink); red = C * K / 255 on the stored values. Without the
// marker the values are ink amounts.
TEST(JpegDecoderTest, CmykWithAndWithoutAdobeMarker) {
  struct Case {
    bool adobe;
    TColor stored;  // B, G, R bytes become C, M, Y
    std::uint8_t k;
    TColor expected;
  };
  for (const Case& c : {Case{true, RGB(0, 128, 255), 255, RGB(255, 128, 0)},
                        Case{true, RGB(0, 128, 255), 128, RGB(128, 64, 0)},
                        Case{false, RGB(255, 127, 0), 0, RGB(255, 128, 0)},
                        Case{false, RGB(255, 127, 0), 127, RGB(128, 64, 0)}}) {
    // MakeUniform's bytes are B, G, R: C comes from blue.
    const TBitmap picture = MakeUniform(16, 16, c.stored);
    TBitmap bmp;
    ASSERT_EQ(DecodeError(EncodeJpeg(picture, {.components = 4, .k = c.k, .adobe = c.adobe}), bmp,
                          "t.jpg"),
              "");
    EXPECT_LE(MaxChannelDifference(MakeUniform(16, 16, c.expected), bmp), kTolerance)
        << "adobe " << c.adobe << " k " << int(c.k);
  }
}

TEST(JpegDecoderTest, ProgressivePictureWithHundredsOfScansDecodes) {
  const TBitmap picture = MakeUniform(8, 8, RGB(90, 60, 30));
  TBitmap bmp;
  ASSERT_EQ(DecodeError(EncodeJpeg(picture, {.components = 1, .scans = 200}), bmp, "t.jpg"), "");
  EXPECT_EQ(bmp.Width(), 8);
}

}  // namespace
}  // namespace kelpra::test
