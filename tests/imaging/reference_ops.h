// Plain transcriptions of the library's formulas: per pixel, through TBmpData24, one thread,
// no tables. The exactness tests hold the library to these byte for byte.
#pragma once

#include "imaging/bitmap.h"

namespace kelpra::reference {

bool Rotate90(TBitmap& bmp, bool plus);
bool Rotate180(TBitmap& bmp);
bool SideBySide(TBitmap& bmpL, TBitmap& bmpR, TColor bkColor, int Split);
bool GrayScale(TBitmap& bmp);
bool Brightness(TBitmap& bmp, int percent);
bool Contrast(TBitmap& bmp, int nContrast);
bool Sharpen(TBitmap& bmp, int percent);
bool GaussianBlur(TBitmap& bmp, int zone);
bool Soften(TBitmap& bmp, int percent);

}  // namespace kelpra::reference
