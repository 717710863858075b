// Pixel accessors, working copies and the clamping of computed channel values.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/bitmap.h"

namespace kelpra {

// Row addresses of a 24-bit bitmap, taken once at construction. Valid while the bitmap is
// neither resized nor reformatted nor assigned to.
class TBmpData24 {
 public:
  explicit TBmpData24(TBitmap& bmp);
  TRGBTriple* Data(int x, int y) const { return reinterpret_cast<TRGBTriple*>(sl[y] + 3 * x); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

 private:
  std::vector<std::uint8_t*> sl;
  std::int32_t FWidth;
  std::int32_t FHeight;
};

// The same for an 8-bit bitmap: Data(x, y) is the address of the byte at (x, y).
class TBmpData8 {
 public:
  explicit TBmpData8(TBitmap& bmp);
  std::uint8_t* Data(int x, int y) const { return sl[y] + x; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

 private:
  std::vector<std::uint8_t*> sl;
  std::int32_t FWidth;
  std::int32_t FHeight;
};

// A new bitmap with the same size, format, colour table and pixels.
std::unique_ptr<TBitmap> BmpClone(const TBitmap& bmp);

inline std::uint8_t AdjustByte(int value) {
  return value < 0 ? 0 : value > 255 ? 255 : std::uint8_t(value);
}

// Clamps to 0..255 and rounds half to even (the processor's default rounding mode).
std::uint8_t AdjustByte(double value);

}  // namespace kelpra
