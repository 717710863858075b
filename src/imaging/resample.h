// Resampling with nine filters.
#pragma once

#include <optional>
#include <string_view>

#include "imaging/bitmap.h"

namespace kelpra {

enum TResizeMode {
  rmNearest,
  rmBilinear,
  rmBicubic,
  rmBSpline,
  rmHermite,
  rmMitchell,
  rmBell,
  rmLanczos,
  rmLagrange,
};

constexpr int kResizeModeCount = 9;

// The filter's name as the effects dialog lists it ("Nearest" .. "Lagrange").
std::string_view ResizeModeName(TResizeMode mode);
// The filter of a dialog name, exactly and case-sensitively; nothing for any other text.
std::optional<TResizeMode> ResizeModeFromName(std::string_view name);

// Resamples a 24-bit picture to rwidth x rheight. False, unchanged, when the picture is not
// 24-bit or a target side is below 1.
bool BmpResize(TBitmap& bmp, int rwidth, int rheight, TResizeMode mode);
// The same into a new bitmap, bmp left as it is; nothing where BmpResize would return false.
std::optional<TBitmap> Resampled(const TBitmap& bmp, int rwidth, int rheight, TResizeMode mode);

}  // namespace kelpra
