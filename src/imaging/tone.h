// Per-pixel tone operations.
#pragma once

#include "imaging/bitmap.h"

namespace kelpra {

// Gives an 8-bit bitmap the grey ramp as its colour table.
void SetGrayPalette(TBitmap& bmp8);
// Replaces a 24-bit picture by its 8-bit grey version.
bool GrayScale(TBitmap& bmp);
bool Brightness(TBitmap& bmp, int percent);
// nContrast in -100..100.
bool Contrast(TBitmap& bmp, int nContrast);

// The same on threadCount threads (the bytes do not depend on it); the forms above use all cores.
bool GrayScale(TBitmap& bmp, int threadCount);
bool Brightness(TBitmap& bmp, int percent, int threadCount);
bool Contrast(TBitmap& bmp, int nContrast, int threadCount);

}  // namespace kelpra
