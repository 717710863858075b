// A plain transcription of the resampling formulas, per pixel and per tap, recomputing every
// weight where the formulas compute it. The optimised resampler must give the same bytes.
#pragma once

#include "imaging/resample.h"

namespace kelpra::test {

bool ReferenceBmpResize(TBitmap& bmp, int rwidth, int rheight, TResizeMode mode);

}  // namespace kelpra::test
