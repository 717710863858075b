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

// A baseline file with an APP1 segment after the JFIF one, so that APP1, DQT and DHT all have a
// marker.
std::vector<std::uint8_t> JpegWithApp1() {
  std::vector<std::uint8_t> jpeg = EncodeJpeg(MakePicture(24, 16, 5), {});
  const std::size_t afterApp0 = 4 + std::size_t(jpeg[4] << 8 | jpeg[5]);
  const std::uint8_t app1[] = {0xFF, 0xE1, 0x00, 0x06, 'K', 'e', 'l', 'p'};
  jpeg.insert(jpeg.begin() + std::ptrdiff_t(afterApp0), std::begin(app1), std::end(app1));
  return jpeg;
}

// Puts a few stray bytes before the first marker of this type.
std::vector<std::uint8_t> WithStrayBytesBefore(std::vector<std::uint8_t> jpeg, std::uint8_t marker,
                                               std::size_t count) {
  for (std::size_t at = 2; at + 1 < jpeg.size(); ++at) {
    if (jpeg[at] == 0xFF && jpeg[at + 1] == marker) {
      std::vector<std::uint8_t> stray(count);
      for (std::size_t i = 0; i < count; ++i)
        stray[i] = std::uint8_t(0x12 * i);
      jpeg.insert(jpeg.begin() + std::ptrdiff_t(at), stray.begin(), stray.end());
      return jpeg;
    }
  }
  throw std::runtime_error("no such marker");
}

TEST(JpegDecoderTest, StrayBytesBetweenHeaderMarkersLoseNothing) {
  const std::vector<std::uint8_t> clean = JpegWithApp1();
  TBitmap expected;
  ASSERT_EQ(DecodeError(clean, expected, "t.jpg"), "");
  for (const std::uint8_t marker : {0xE1, 0xDB, 0xC4, 0xC0, 0xDA}) {
    for (const std::size_t count : {1, 3}) {
      TBitmap bmp;
      ASSERT_EQ(DecodeError(WithStrayBytesBefore(clean, marker, count), bmp, "t.jpg"), "")
          << "marker " << int(marker) << ", " << count << " bytes";
      EXPECT_EQ(BitmapDiff(expected, bmp), "") << "marker " << int(marker);
    }
  }
}

// Bytes between the scan data and the end could be part of a damaged scan. (A few are taken in
// as the scan's last bits and pass unseen.)
TEST(JpegDecoderTest, StrayBytesAfterTheScanDataAreStillAnError) {
  TBitmap bmp;
  const std::string error =
      DecodeError(WithStrayBytesBefore(JpegWithApp1(), 0xD9, 40), bmp, "t.jpg");
  EXPECT_EQ(error.rfind("Cannot read picture \"t.jpg\": the JPEG data is damaged (Corrupt JPEG "
                        "data: ",
                        0),
            0u)
      << error;
}

TEST(JpegDecoderTest, ProgressivePictureWithHundredsOfScansDecodes) {
  const TBitmap picture = MakeUniform(8, 8, RGB(90, 60, 30));
  TBitmap bmp;
  ASSERT_EQ(DecodeError(EncodeJpeg(picture, {.components = 1, .scans = 200}), bmp, "t.jpg"), "");
  EXPECT_EQ(bmp.Width(), 8);
}

}  // namespace
}  // namespace kelpra::test
