#include "imaging/tone.h"

#include <gtest/gtest.h>

#include <vector>

#include "picture_fixtures.h"

namespace kelpra::fixtures {
namespace {

TEST(GrayScaleTest, WeighsChannelsIntoAnEightBitGreyPicture) {
  const struct {
    TRGBTriple pixel;
    int expected;
  } cases[] = {
      {Bgr(0, 0, 255), 76}, {Bgr(0, 255, 0), 149}, {Bgr(255, 0, 0), 29},
      {Gray(255), 255},     {Gray(0), 0},
  };
  TBitmap bmp = MakePicture(std::size(cases), 1, [&](int x, int) { return cases[x].pixel; });
  ASSERT_TRUE(GrayScale(bmp));
  ASSERT_EQ(bmp.PixelFormat(), pf8bit);
  for (int i = 0; i < 256; ++i) {
    const TRGBQuad& entry = bmp.Palette()[i];
    ASSERT_TRUE(entry.rgbBlue == i && entry.rgbGreen == i && entry.rgbRed == i &&
                entry.rgbReserved == 0)
        << "palette entry " << i;
  }
  for (int x = 0; x < int(std::size(cases)); ++x)
    EXPECT_EQ(bmp.ScanLine(0)[x], cases[x].expected);
}

// The weights add up to 1 only on paper: 65 grey levels come out one lower.
TEST(GrayScaleTest, TruncatesGreysThatSumJustBelowThemselves) {
  TBitmap bmp = MakePicture(256, 1, [](int x, int) { return Gray(std::uint8_t(x)); });
  ASSERT_TRUE(GrayScale(bmp));
  std::vector<int> lowered;
  for (int g = 0; g < 256; ++g) {
    const int v = bmp.ScanLine(0)[g];
    ASSERT_TRUE(v == g || v == g - 1) << g << " gave " << v;
    if (v == g - 1)
      lowered.push_back(g);
  }
  EXPECT_EQ(lowered.size(), 65u);
  for (const int g : {1, 2, 4, 8, 128, 254}) {
    EXPECT_NE(std::find(lowered.begin(), lowered.end(), g), lowered.end()) << g;
  }
}

// Channels 0..255 in blue and red, 255..0 in green.
TBitmap Ramp() {
  return MakePicture(256, 2, [](int x, int) {
    return Bgr(std::uint8_t(x), std::uint8_t(255 - x), std::uint8_t(x));
  });
}

TEST(BrightnessTest, AddsTheTruncatedStepAndClamps) {
  const struct {
    int percent;
    int step;
  } cases[] = {{1, 2},       {-1, -2}, {50, 127}, {-50, -127}, {100, 255},
               {-100, -255}, {0, 0},   {99, 252}, {-99, -252}, {1000, 2550}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.percent);
    TBitmap bmp = Ramp();
    ASSERT_TRUE(Brightness(bmp, c.percent));
    for (int x = 0; x < 256; ++x) {
      const Bgr8 expected = {std::clamp(x + c.step, 0, 255), std::clamp(255 - x + c.step, 0, 255),
                             std::clamp(x + c.step, 0, 255)};
      ASSERT_EQ(PixelAt(bmp, x, 1), expected) << "x " << x;
    }
  }
}

TEST(ContrastTest, StretchesAboutMidGrey) {
  const struct {
    int nContrast;
    std::vector<std::pair<int, int>> mapping;
  } cases[] = {
      {-100, {{0, 128}, {100, 128}, {255, 128}}},
      {0, {{0, 0}, {1, 1}, {127, 127}, {128, 128}, {254, 254}, {255, 255}}},
      {50, {{0, 0}, {64, 0}, {127, 126}, {128, 129}, {192, 255}, {255, 255}}},
      {-50, {{0, 96}, {255, 159}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nContrast);
    TBitmap bmp = Ramp();
    ASSERT_TRUE(Contrast(bmp, c.nContrast));
    for (const auto& [from, to] : c.mapping) {
      EXPECT_EQ(PixelAt(bmp, from, 0).b, to) << from;
      EXPECT_EQ(PixelAt(bmp, 255 - from, 0).g, to) << from;
    }
  }
}

}  // namespace
}  // namespace kelpra::fixtures
