// The nine resampling filters as data: one table that the resampler, the effects dialog's list
// and the settings file all read.
#pragma once

#include <span>
#include <string_view>

#include "imaging/resample.h"

namespace kelpra {

// A weight as a function of the distance t >= 0 between a tap and the sample position.
using ResizeKernel = double (*)(double t);

// How a destination pixel is made from its neighbourhood.
enum class ResizeRule {
  Copy,      // the nearest source pixel
  Bilinear,  // linear in x, then in y
  Taps,      // sum of (channel * wx) * wy over taps x 0 x taps source pixels
};

struct ResizeFilter {
  TResizeMode mode;
  std::string_view name;
  ResizeRule rule;
  ResizeKernel kernel;  // Taps only; null for the B-spline, whose weights come from its arrays
  int taps;             // per axis
};

// In TResizeMode order.
std::span<const ResizeFilter> ResizeFilters();
const ResizeFilter& FilterOf(TResizeMode mode);

// The first tap's offset from the truncated position: x - 1 for 4 taps, x for 2.
constexpr int FirstTap(int taps) {
  return 1 - taps / 2;
}

// Cubic B-spline weights for the taps x - 1 .. x + 2, from the fraction d = xx - x. The two axes
// are built from opposite sides (columns from the left, rows from the right), so their doubles
// differ in the last bits and both are kept.
void BSplineColumnWeights(double dxx, double weights[4]);
void BSplineRowWeights(double dyy, double weights[4]);

}  // namespace kelpra
