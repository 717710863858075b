// Small pictures made pixel by pixel, and a byte-exact comparison that names the first
// differing pixel.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <random>

#include "imaging/bitmap.h"

namespace kelpra::fixtures {

constexpr TRGBTriple Bgr(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  return {b, g, r};
}
constexpr TRGBTriple Gray(std::uint8_t level) {
  return {level, level, level};
}

// A 24-bit w x h picture whose pixel (x, y) is pixel(x, y).
TBitmap MakePicture(int w, int h, const std::function<TRGBTriple(int x, int y)>& pixel);
TBitmap UniformPicture(int w, int h, TRGBTriple color);
TBitmap RandomPicture(int w, int h, std::mt19937& rng);

// A pixel's channels as plain numbers, comparable and printable in test expectations.
struct Bgr8 {
  int b, g, r;
  bool operator==(const Bgr8&) const = default;
};
void PrintTo(const Bgr8& pixel, std::ostream* os);
constexpr Bgr8 GrayBgr(int level) {
  return {level, level, level};
}

Bgr8 PixelAt(const TBitmap& bmp, int x, int y);

// Same format, size, colour table (8-bit) and pixel bytes; padding bytes are not compared.
::testing::AssertionResult SameBitmap(const TBitmap& expected, const TBitmap& actual);

}  // namespace kelpra::fixtures
