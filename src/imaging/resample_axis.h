// Where each destination column (or row) samples the source, and with which weights. These
// depend on one axis only, so they are computed once per column and once per row: the same
// doubles that a per-tap evaluation gives.
#pragma once

#include <vector>

#include "imaging/resample_filters.h"

namespace kelpra {

enum class Axis { Columns, Rows };

struct AxisSamples {
  int taps = 0;                // per destination column (row)
  std::vector<int> index;      // [i * taps + k]: the source column (row) that tap k reads
  std::vector<double> weight;  // [i * taps + k]: its weight (Bilinear: coef00, coef01)
};

// sourceLength source columns (rows) sampled by destLength destination ones, the destination's
// column i at the source position factor * i.
AxisSamples SampleAxis(const ResizeFilter& filter, Axis axis, int sourceLength, int destLength,
                       double factor);

}  // namespace kelpra
