#include "core/adjustment_pipeline.h"

#include <cmath>
#include <optional>
#include <utility>

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

namespace {

// The size ResizePic fits the picture to; none when it leaves the picture as it is.
std::optional<std::pair<int, int>> FitSize(const TBitmap& bmp, int toWidth, int toHeight) {
  if (bmp.PixelFormat() != pf24bit || bmp.Empty())
    return std::nullopt;
  const double rw = double(toWidth) / bmp.Width();
  const double rh = double(toHeight) / bmp.Height();
  const double r = rh > rw ? rw : rh;
  const double width = std::trunc(bmp.Width() * r);
  const double height = std::trunc(bmp.Height() * r);
  // A client area too small for even one pixel of a side leaves the picture as it is.
  if (!(width >= 1 && height >= 1))
    return std::nullopt;
  return std::pair{int(width), int(height)};
}

}  // namespace

void ResizePic(TBitmap& bmp, int toWidth, int toHeight, const QString& filterText) {
  if (const auto size = FitSize(bmp, toWidth, toHeight))
    BmpResize(bmp, size->first, size->second, ResizeModeForText(filterText));
}

TBitmap FittedPic(const TBitmap& bmp, int toWidth, int toHeight, const QString& filterText) {
  if (const auto size = FitSize(bmp, toWidth, toHeight)) {
    if (std::optional<TBitmap> fitted =
            Resampled(bmp, size->first, size->second, ResizeModeForText(filterText))) {
      fitted->BrushColor = bmp.BrushColor;
      return std::move(*fitted);
    }
  }
  return bmp;
}

}  // namespace kelpra
