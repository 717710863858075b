#include "imaging/pixel_access.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "picture_fixtures.h"

namespace kelpra::fixtures {
namespace {

TEST(AdjustByteTest, RoundsHalfToEvenAndClamps) {
  const struct {
    double value;
    int expected;
  } cases[] = {
      {-0.4, 0},     {0.5, 0},     {1.5, 2},     {2.5, 2},
      {127.5, 128},  {254.5, 254}, {255.0, 255}, {255.2, 255},
      {254.49, 254}, {-1e300, 0},  {1e300, 255}, {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(AdjustByte(c.value), c.expected) << c.value;
}

// The inline rounding against the library's: every half and its neighbours on either side,
// and random values over the range the filters produce.
TEST(AdjustByteTest, RoundingMatchesNearbyint) {
  std::vector<double> values;
  for (int k = -6000; k <= 6000; ++k) {
    const double half = k / 2.0;
    values.insert(values.end(), {half, std::nextafter(half, -1e9), std::nextafter(half, 1e9)});
  }
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> any(-3000.0, 3000.0);
  for (int i = 0; i < 100000; ++i)
    values.push_back(any(rng));
  for (const double v : values) {
    ASSERT_EQ(RoundHalfEven(v), std::nearbyint(v)) << v;
    const int expected = v < 0 ? 0 : v > 255 ? 255 : int(std::nearbyint(v));
    ASSERT_EQ(AdjustByte(v), expected) << v;
  }
}

TEST(AdjustByteTest, ClampsIntegers) {
  const struct {
    int value;
    int expected;
  } cases[] = {{-1, 0}, {0, 0}, {128, 128}, {255, 255}, {256, 255}, {INT_MIN, 0}, {INT_MAX, 255}};
  for (const auto& c : cases)
    EXPECT_EQ(AdjustByte(c.value), c.expected) << c.value;
}

// A width of 5 pads 24-bit rows to 16 bytes and 8-bit rows to 8: the accessors must use the
// bitmap's own row addresses.
TEST(PixelAccessTest, AccessorsAddressThePixelsOfEachRow) {
  TBitmap bmp24(5, 3);
  const TBmpData24 data24(bmp24);
  TBitmap bmp8(5, 3, pf8bit);
  const TBmpData8 data8(bmp8);
  EXPECT_EQ(data24.Width(), 5);
  EXPECT_EQ(data24.Height(), 3);
  EXPECT_EQ(data8.Width(), 5);
  EXPECT_EQ(data8.Height(), 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(reinterpret_cast<std::uint8_t*>(data24.Data(x, y)), bmp24.ScanLine(y) + 3 * x);
      EXPECT_EQ(data8.Data(x, y), bmp8.ScanLine(y) + x);
    }
  }
}

TEST(PixelAccessTest, CloneCopiesEverythingIntoItsOwnStorage) {
  TBitmap gray(3, 2, pf8bit);
  for (int i = 0; i < 256; ++i)
    gray.Palette()[i] = {std::uint8_t(i), 0, std::uint8_t(255 - i), 0};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x)
      gray.ScanLine(y)[x] = std::uint8_t(10 * y + x);
  }
  const auto clone = BmpClone(gray);
  EXPECT_TRUE(SameBitmap(gray, *clone));
  clone->ScanLine(1)[2] = 99;
  EXPECT_EQ(gray.ScanLine(1)[2], 12);
}

}  // namespace
}  // namespace kelpra::fixtures
