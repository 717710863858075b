// BmpResize on a chosen number of threads (BmpResize itself uses every core). The bytes are the
// same for any count.
#pragma once

#include "imaging/resample.h"

namespace kelpra {

bool BmpResizeOnThreads(TBitmap& bmp, int rwidth, int rheight, TResizeMode mode, int threadCount);

}  // namespace kelpra
