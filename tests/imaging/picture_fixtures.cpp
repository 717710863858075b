#include "picture_fixtures.h"

#include <cstring>

namespace kelpra::fixtures {

TBitmap MakePicture(int w, int h, const std::function<TRGBTriple(int x, int y)>& pixel) {
  TBitmap bmp(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const TRGBTriple value = pixel(x, y);
      std::memcpy(bmp.ScanLine(y) + 3 * x, &value, 3);
    }
  }
  return bmp;
}

TBitmap UniformPicture(int w, int h, TRGBTriple color) {
  return MakePicture(w, h, [&](int, int) { return color; });
}

TBitmap RandomPicture(int w, int h, std::mt19937& rng) {
  std::uniform_int_distribution<int> byte(0, 255);
  return MakePicture(w, h, [&](int, int) {
    return Bgr(std::uint8_t(byte(rng)), std::uint8_t(byte(rng)), std::uint8_t(byte(rng)));
  });
}

void PrintTo(const Bgr8& pixel, std::ostream* os) {
  *os << "(b " << pixel.b << ", g " << pixel.g << ", r " << pixel.r << ")";
}

Bgr8 PixelAt(const TBitmap& bmp, int x, int y) {
  const std::uint8_t* p = bmp.ScanLine(y) + 3 * x;
  return {p[0], p[1], p[2]};
}

::testing::AssertionResult SameBitmap(const TBitmap& expected, const TBitmap& actual) {
  if (expected.PixelFormat() != actual.PixelFormat()) {
    return ::testing::AssertionFailure()
           << "pixel format " << actual.PixelFormat() << ", expected " << expected.PixelFormat();
  }
  if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
    return ::testing::AssertionFailure()
           << "size " << actual.Width() << " x " << actual.Height() << ", expected "
           << expected.Width() << " x " << expected.Height();
  }
  const int bytesPerPixel = expected.PixelFormat() == pf24bit ? 3 : 1;
  if (bytesPerPixel == 1 &&
      std::memcmp(expected.Palette().data(), actual.Palette().data(), sizeof(TPalette)) != 0) {
    return ::testing::AssertionFailure() << "colour tables differ";
  }
  for (int y = 0; y < expected.Height(); ++y) {
    for (int i = 0; i < bytesPerPixel * expected.Width(); ++i) {
      const int e = expected.ScanLine(y)[i];
      const int a = actual.ScanLine(y)[i];
      if (e != a) {
        return ::testing::AssertionFailure()
               << "pixel (" << i / bytesPerPixel << ", " << y << ") byte " << i % bytesPerPixel
               << " is " << a << ", expected " << e << " (size " << expected.Width() << " x "
               << expected.Height() << ")";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace kelpra::fixtures
