// The pixel loops of the resampler, written as functions of a destination row range.
#pragma once

#include <cstdint>

#include "imaging/resample_axis.h"

namespace kelpra {

struct ResampleJob {
  ResizeRule rule;
  const AxisSamples* columns;
  const AxisSamples* rows;
  // Source rows; reading 4 bytes at any pixel must stay inside readable memory.
  const std::uint8_t* const* sourceRows;
  std::uint8_t* const* destRows;
  int destWidth;
};

// Computes destination rows y0 <= y < y1.
void ResampleRows(const ResampleJob& job, int y0, int y1);

}  // namespace kelpra
