// Neighbourhood filters.
#pragma once

#include "imaging/bitmap.h"

namespace kelpra {

// percent in 0..100.
bool Sharpen(TBitmap& bmp, int percent);
// zone in 1..30: the standard deviation in pixels, the kernel reaching 3 * zone.
bool GaussianBlur(TBitmap& bmp, int zone);
// percent in 0..100: a blend of the picture with its GaussianBlur(1).
bool Soften(TBitmap& bmp, int percent);

// The same on threadCount threads (the bytes do not depend on it); the forms above use all cores.
bool Sharpen(TBitmap& bmp, int percent, int threadCount);
bool GaussianBlur(TBitmap& bmp, int zone, int threadCount);
bool Soften(TBitmap& bmp, int percent, int threadCount);

}  // namespace kelpra
