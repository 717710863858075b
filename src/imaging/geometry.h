// Quarter and half turns, and joining two pages side by side.
#pragma once

#include "imaging/bitmap.h"

namespace kelpra {

// A quarter turn, clockwise when plus is true. False, unchanged, unless 24-bit.
bool Rotate90(TBitmap& bmp, bool plus);
bool Rotate180(TBitmap& bmp);
// The same on threadCount threads (the bytes do not depend on it); the forms above use all cores.
bool Rotate90(TBitmap& bmp, bool plus, int threadCount);
bool Rotate180(TBitmap& bmp, int threadCount);

// bmpL := a spread of bmpL (left) and bmpR (right), top-aligned, with a one-pixel frame and
// Split columns between them, all in bkColor. False, both unchanged, unless both are 24-bit
// and Split >= 0.
bool SideBySide(TBitmap& bmpL, const TBitmap& bmpR, TColor bkColor, int Split);
bool SideBySide(TBitmap& bmpL, const TBitmap& bmpR, TColor bkColor, int Split, int threadCount);

}  // namespace kelpra
