// The row loops of the neighbourhood filters. Every channel of every pixel goes through exactly
// the operations of its filter's formula, in their order; faster processors only run more
// channels side by side, chosen at run time, so one binary serves every x86 processor.
#pragma once

#include <cstdint>
#include <vector>

namespace kelpra {

// Soften's mix of a channel c with its blurred value s: (1 - rate) * c + rate * s in double,
// rate being the percentage / 100 held in single.
struct SoftenBlend {
  float rate;
};

// The horizontal blur of one row of `width` pixels: each channel sums the taps gf[|d|] of the
// columns x + d inside the row, in ascending order, is divided by channelSums[k], the sum of
// those taps, and rounded to a byte, which out holds as a float for the vertical pass. scratch
// holds 3 * width floats.
void BlurAcross(const std::uint8_t* in, float* out, int width, const std::vector<float>& gf,
                const float* channelSums, float* scratch);

// The vertical blur of one row of `values` channels into out: rows[i] (rounded channels as
// BlurAcross leaves them) weighted by weights[i] for i = 0..taps-1, in that order, divided by
// weightSum. With a blend, the result is mixed into out's own channels instead of replacing
// them. scratch holds `values` floats.
void BlurDown(const float* const* rows, const float* weights, int taps, float weightSum,
              std::uint8_t* out, int values, const SoftenBlend* blend, float* scratch);

// Sharpen of one row of `width` pixels from the source rows above, at and below it (the edge
// row itself where there is none). columns holds 3 * width + 6 ints.
void SharpenRow(const std::uint8_t* up, const std::uint8_t* mid, const std::uint8_t* down,
                std::uint8_t* out, int width, double rate, int* columns);

// The same loops in plain C++, which processors without a faster form run; tests hold the
// faster forms to them.
namespace portable {
void BlurAcross(const std::uint8_t* in, float* out, int width, const std::vector<float>& gf,
                const float* channelSums, float* scratch);
void BlurDown(const float* const* rows, const float* weights, int taps, float weightSum,
              std::uint8_t* out, int values, const SoftenBlend* blend, float* scratch);
void SharpenRow(const std::uint8_t* up, const std::uint8_t* mid, const std::uint8_t* down,
                std::uint8_t* out, int width, double rate, int* columns);
}  // namespace portable

}  // namespace kelpra
