#include "core/adjustment_pipeline.h"

#include <cmath>

#include "imaging/filters.h"
#include "imaging/geometry.h"
#include "imaging/tone.h"

namespace kelpra {

void PictureRotate(TBitmap& bmp, const QString& direction) {
  if (direction == u"LEFT") {
    Rotate90(bmp, false);
  } else if (direction == u"RIGHT") {
    Rotate90(bmp, true);
  } else if (direction == u"DOWN") {
    Rotate180(bmp);
  }
}

void PictureEffect(TBitmap& bmp, const EffectSettings& effects) {
  if (effects.contrast != 0)
    Contrast(bmp, effects.contrast);
  if (effects.brightness != 0)
    Brightness(bmp, effects.brightness);
  if (effects.sharpness > 0) {
    Sharpen(bmp, effects.sharpness);
  } else if (effects.sharpness < 0) {
    Soften(bmp, -effects.sharpness);
  }
  // Last, so that every step before it sees a 24-bit picture.
  if (effects.monochrome)
    GrayScale(bmp);
}

TResizeMode ResizeModeForText(const QString& text) {
  return ResizeModeFromName(text.toStdString()).value_or(rmBilinear);
}

void ResizePic(TBitmap& bmp, int toWidth, int toHeight, const QString& filterText) {
  if (bmp.PixelFormat() != pf24bit || bmp.Empty())
    return;
  const double rw = double(toWidth) / bmp.Width();
  const double rh = double(toHeight) / bmp.Height();
  const double r = rh > rw ? rw : rh;
  const double width = std::trunc(bmp.Width() * r);
  const double height = std::trunc(bmp.Height() * r);
  // A client area too small for even one pixel of a side leaves the picture as it is.
  if (!(width >= 1 && height >= 1))
    return;
  BmpResize(bmp, int(width), int(height), ResizeModeForText(filterText));
}

}  // namespace kelpra
