#include "imaging/resample_axis.h"

#include <cmath>

namespace kelpra {

namespace {

void SampleNearest(int sourceLength, double pos, AxisSamples& out) {
  int nearest = int(std::nearbyint(pos));  // ties to even
  if (nearest > sourceLength - 1)
    nearest = sourceLength - 1;
  out.index.push_back(nearest);
}

void SampleBilinear(int sourceLength, double pos, AxisSamples& out) {
  int first = int(pos);
  if (first < 0)
    first = 0;
  const int second = first + 1 > sourceLength - 1 ? first : first + 1;
  const double coef01 = pos - first;
  out.index.insert(out.index.end(), {first, second});
  out.weight.insert(out.weight.end(), {1 - coef01, coef01});
}

// A tap outside the picture reads the truncated position itself, not the nearest edge.
void SampleTaps(const ResizeFilter& filter, Axis axis, int sourceLength, double pos,
                AxisSamples& out) {
  const int base = int(pos);
  const int first = base + FirstTap(filter.taps);
  double bspline[4];
  if (!filter.kernel) {
    if (axis == Axis::Columns) {
      BSplineColumnWeights(pos - base, bspline);
    } else {
      BSplineRowWeights(pos - base, bspline);
    }
  }
  for (int k = 0; k < filter.taps; ++k) {
    const int tap = first + k;
    out.index.push_back(tap < 0 || tap > sourceLength - 1 ? base : tap);
    out.weight.push_back(filter.kernel ? filter.kernel(std::fabs(pos - tap)) : bspline[k]);
  }
}

}  // namespace

AxisSamples SampleAxis(const ResizeFilter& filter, Axis axis, int sourceLength, int destLength,
                       double factor) {
  AxisSamples out;
  out.taps = filter.taps;
  out.index.reserve(std::size_t(destLength) * filter.taps);
  if (filter.rule != ResizeRule::Copy)
    out.weight.reserve(std::size_t(destLength) * filter.taps);
  for (int i = 0; i < destLength; ++i) {
    const double pos = factor * i;
    switch (filter.rule) {
      case ResizeRule::Copy:
        SampleNearest(sourceLength, pos, out);
        break;
      case ResizeRule::Bilinear:
        SampleBilinear(sourceLength, pos, out);
        break;
      case ResizeRule::Taps:
        SampleTaps(filter, axis, sourceLength, pos, out);
        break;
    }
  }
  return out;
}

}  // namespace kelpra
