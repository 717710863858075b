// Turns a loaded page into what the user asked to see: orientation, effects, fit to the window.
#pragma once

#include <QString>

#include "core/effect_settings.h"
#include "imaging/bitmap.h"
#include "imaging/resample.h"

namespace kelpra {

// Turns by the orientation: "LEFT" a quarter counter-clockwise, "RIGHT" clockwise, "DOWN" a
// half turn; any other text, compared exactly, leaves the picture as it is.
void PictureRotate(TBitmap& bmp, const QString& direction);

// Contrast, brightness, sharpen or soften, then monochrome last; zero settings are skipped.
void PictureEffect(TBitmap& bmp, const EffectSettings& effects);

// The filter named by the filter list's text; any other text resamples bilinearly.
TResizeMode ResizeModeForText(const QString& text);

// Fits the picture into toWidth x toHeight keeping its aspect ratio (enlarging small ones);
// an 8-bit picture is left as it is.
void ResizePic(TBitmap& bmp, int toWidth, int toHeight, const QString& filterText);
// The same into a new bitmap, bmp left as it is.
TBitmap FittedPic(const TBitmap& bmp, int toWidth, int toHeight, const QString& filterText);

}  // namespace kelpra
