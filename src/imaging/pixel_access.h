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

// Rounds to an integer, half to even, exactly as std::nearbyint does in the default rounding
// mode, for |value| < 2^51: the sum with 1.5 * 2^52 has no fraction bits, so the floating-point
// unit's own rounding makes it whole, and taking the constant away again is exact. Inline and
// free of library calls, for loops that run once per channel of every pixel. Relies on strict
// IEEE double arithmetic, as the whole library does: no fast-math, no x87 extended precision.
inline double RoundHalfEven(double value) {
  constexpr double kNoFraction = 6755399441055744.0;  // 1.5 * 2^52
  return (value + kNoFraction) - kNoFraction;
}

// Clamps to 0..255 and rounds half to even. NaN gives 0.
inline std::uint8_t AdjustByte(double value) {
  if (!(value >= 0.0))
    return 0;
  if (value > 255.0)
    return 255;
  return std::uint8_t(RoundHalfEven(value));
}

}  // namespace kelpra
