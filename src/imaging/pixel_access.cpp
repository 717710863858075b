#include "imaging/pixel_access.h"

#include <cmath>

namespace kelpra {

namespace {

template <typename Rows>
void CaptureRows(TBitmap& bmp, Rows& sl) {
  sl.resize(bmp.Height());
  for (int y = 0; y < bmp.Height(); ++y)
    sl[y] = bmp.ScanLine(y);
}

}  // namespace

TBmpData24::TBmpData24(TBitmap& bmp) {
  CaptureRows(bmp, sl);
  FWidth = bmp.Width();
  FHeight = bmp.Height();
}

TBmpData8::TBmpData8(TBitmap& bmp) {
  CaptureRows(bmp, sl);
  FWidth = bmp.Width();
  FHeight = bmp.Height();
}

std::unique_ptr<TBitmap> BmpClone(const TBitmap& bmp) {
  auto clone = std::make_unique<TBitmap>();
  clone->Assign(bmp);
  return clone;
}

// The negated comparison also sends NaN to 0 instead of converting it to a byte.
std::uint8_t AdjustByte(double value) {
  if (!(value >= 0.0))
    return 0;
  if (value > 255.0)
    return 255;
  return std::uint8_t(std::nearbyint(value));
}

}  // namespace kelpra
