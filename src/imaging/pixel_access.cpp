#include "imaging/pixel_access.h"

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

}  // namespace kelpra
