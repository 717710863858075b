#include "imaging/filter_rows.h"

#include <algorithm>
#include <cstdlib>
#include <type_traits>

#include "imaging/pixel_access.h"

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__) && !defined(__clang__)
#define KELPRA_FILTER_AVX2 1
#include <immintrin.h>
#endif

// The vector helpers are always inlined, so their vector arguments never cross a call.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace kelpra {

namespace {

// AdjustByte for a value known to lie far inside the int range: rounding before clamping gives
// the same byte, and clamping an integer keeps floating-point compares out of the loop, which
// the compiler can then vectorise.
inline std::uint8_t BoundedToByte(double value) {
  return AdjustByte(int(RoundHalfEven(value)));
}

// One tap added to a running channel sum: the product and the sum in double, the sum rounded
// back to single.
inline float AddTap(float sum, float channel, float gauss) {
  return float(double(sum) + double(channel) * double(gauss));
}

inline std::uint8_t Divided(float sum, float weightSum) {
  return BoundedToByte(double(sum) / double(weightSum));
}

inline std::uint8_t Blended(std::uint8_t pixel, std::uint8_t blurred, const SoftenBlend* blend) {
  if (!blend)
    return blurred;
  const double rate = blend->rate;
  return BoundedToByte((1.0 - rate) * pixel + rate * blurred);
}

// Channel k of a row blurred across, tap by tap.
float SumAcross(const std::uint8_t* in, int k, int width, const std::vector<float>& gf) {
  const int range = int(gf.size()) - 1;
  const int x = k / 3;
  const int channel = k % 3;
  float sum = 0;
  for (int ix = std::max(0, x - range); ix <= std::min(width - 1, x + range); ++ix)
    sum = AddTap(sum, in[3 * ix + channel], gf[std::abs(ix - x)]);
  return sum;
}

float SumDown(const float* const* rows, const float* weights, int taps, int k) {
  float sum = 0;
  for (int i = 0; i < taps; ++i)
    sum = AddTap(sum, rows[i][k], weights[i]);
  return sum;
}

// The mask (8 at the centre, -1 around) sums to 9 times the centre minus the 3 x 3 window;
// integer sums do not depend on their order. columns[k] is the window's column sum at k.
inline std::uint8_t Sharpened(std::uint8_t centre, const int* columns, int k, double rate) {
  const int sum = 9 * centre - (columns[k - 3] + columns[k] + columns[k + 3]);
  return BoundedToByte(centre + rate * sum);
}

// The window's taps beyond the picture replicate its edge columns: the column sums carry a
// copy of the first and last column on either side.
void PadColumns(int* columns, int values) {
  for (int c = 0; c < 3; ++c) {
    columns[c - 3] = columns[c];
    columns[values + c] = columns[values - 3 + c];
  }
}

}  // namespace

// Any processor: whole-row loops, tap by tap, that the compiler vectorises for its target.
namespace portable {

void BlurAcross(const std::uint8_t* in, float* out, int width, const std::vector<float>& gf,
                const float* channelSums, float* acc) {
  const int range = int(gf.size()) - 1;
  const int n = 3 * width;
  std::fill(acc, acc + n, 0.0f);
  for (int d = -std::min(range, width - 1); d <= std::min(range, width - 1); ++d) {
    const float gauss = gf[std::abs(d)];
    const int from = 3 * std::max(0, -d);
    const int to = 3 * std::min(width, width - d);
    const int shift = 3 * d;
    for (int k = from; k < to; ++k)
      acc[k] = AddTap(acc[k], in[k + shift], gauss);
  }
  for (int k = 0; k < n; ++k)
    out[k] = Divided(acc[k], channelSums[k]);
}

void BlurDown(const float* const* rows, const float* weights, int taps, float weightSum,
              std::uint8_t* out, int values, const SoftenBlend* blend, float* acc) {
  std::fill(acc, acc + values, 0.0f);
  for (int i = 0; i < taps; ++i) {
    for (int k = 0; k < values; ++k)
      acc[k] = AddTap(acc[k], rows[i][k], weights[i]);
  }
  for (int k = 0; k < values; ++k)
    out[k] = Blended(out[k], Divided(acc[k], weightSum), blend);
}

void SharpenRow(const std::uint8_t* up, const std::uint8_t* mid, const std::uint8_t* down,
                std::uint8_t* out, int width, double rate, int* columns) {
  const int n = 3 * width;
  for (int k = 0; k < n; ++k)
    columns[k] = up[k] + mid[k] + down[k];
  PadColumns(columns, n);
  for (int k = 0; k < n; ++k)
    out[k] = Sharpened(mid[k], columns, k, rate);
}

}  // namespace portable

namespace {

#ifdef KELPRA_FILTER_AVX2
// AVX2 processors: eight channels at a time, one per lane.
//
// A blur tap in single precision with a fused multiply-add gives the same float as the formula's
// double product and double sum rounded to single: every weight lies in [exp(-4.5), 1], so it
// and every product with a byte is a multiple of 2^-30, and so is every running sum rounded to
// single; the sums stay below 2^15 (255 times at most 76, the largest weight sum). The exact sum
// of a running sum and a product thus needs at most 46 bits: the double addition is exact and
// rounding it to single is the one rounding the fused operation makes.
#pragma GCC push_options
#pragma GCC target("avx2,fma")
namespace avx2 {

constexpr int kLanes = 8;
// Vectors summed side by side: independent chains of additions keep the processor busy.
constexpr int kGroup = 4;

[[gnu::always_inline]] inline __m256i WidenBytes(const std::uint8_t* p) {
  return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
}

[[gnu::always_inline]] inline __m256 BytesToFloats(const std::uint8_t* p) {
  return _mm256_cvtepi32_ps(WidenBytes(p));
}

// Eight ints saturated to bytes, in the low half.
[[gnu::always_inline]] inline __m128i PackBytes(__m128i low, __m128i high) {
  const __m128i words = _mm_packus_epi32(low, high);
  return _mm_packus_epi16(words, words);
}

[[gnu::always_inline]] inline void StoreBytes(__m128i bytes, std::uint8_t* p) {
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p), bytes);
}

// Eight sums divided by weightSum and rounded to integers. The product with the single
// reciprocal lies within 3.1e-5 of the double quotient (both are below 256), so it rounds to the
// same integer unless it lies within 2^-14 of a half; such rare groups take the double division.
[[gnu::always_inline]] inline __m256i DividedLanes(__m256 sum, __m256 reciprocal, float weightSum) {
  const __m256 quotient = _mm256_mul_ps(sum, reciprocal);
  const __m256i rounded = _mm256_cvtps_epi32(quotient);
  const __m256 offset = _mm256_sub_ps(quotient, _mm256_cvtepi32_ps(rounded));
  const __m256 distance = _mm256_andnot_ps(_mm256_set1_ps(-0.0f), offset);
  const __m256 nearHalf = _mm256_cmp_ps(distance, _mm256_set1_ps(0.5f - 0x1p-14f), _CMP_GE_OQ);
  if (_mm256_movemask_ps(nearHalf) == 0)
    return rounded;
  alignas(32) float sums[kLanes];
  _mm256_store_ps(sums, sum);
  alignas(32) std::int32_t exact[kLanes];
  for (int i = 0; i < kLanes; ++i)
    exact[i] = Divided(sums[i], weightSum);
  return _mm256_load_si256(reinterpret_cast<const __m256i*>(exact));
}

// Soften's mix of four channels, in double as the formula has it.
[[gnu::always_inline]] inline __m128i BlendedLanes(__m128i pixels, __m128i blurred, __m256d keep,
                                                   __m256d rate) {
  const __m256d mixed = _mm256_add_pd(_mm256_mul_pd(keep, _mm256_cvtepi32_pd(pixels)),
                                      _mm256_mul_pd(rate, _mm256_cvtepi32_pd(blurred)));
  return _mm256_cvtpd_epi32(mixed);  // half to even, as the default rounding mode does
}

[[gnu::always_inline]] inline void StoreBlurred(__m256i smooth, std::uint8_t* out,
                                                const SoftenBlend* blend) {
  __m128i low = _mm256_castsi256_si128(smooth);
  __m128i high = _mm256_extracti128_si256(smooth, 1);
  if (blend) {
    const __m256i pixels = WidenBytes(out);
    const __m256d keep = _mm256_set1_pd(1.0 - double(blend->rate));
    const __m256d rate = _mm256_set1_pd(blend->rate);
    low = BlendedLanes(_mm256_castsi256_si128(pixels), low, keep, rate);
    high = BlendedLanes(_mm256_extracti128_si256(pixels, 1), high, keep, rate);
  }
  StoreBytes(PackBytes(low, high), out);
}

void BlurAcross(const std::uint8_t* in, float* out, int width, const std::vector<float>& gf,
                const float* channelSums, float* channels) {
  const int range = int(gf.size()) - 1;
  const int n = 3 * width;
  int k = 0;
  for (; k + kLanes <= n; k += kLanes)
    _mm256_storeu_ps(channels + k, BytesToFloats(in + k));
  for (; k < n; ++k)
    channels[k] = in[k];
  // The columns whose taps all lie inside the row share one weight sum and need no bounds.
  const int first = std::min(3 * range, n);
  const int last = std::max(first, n - 3 * range);
  for (k = 0; k < first; ++k)
    out[k] = Divided(SumAcross(in, k, width, gf), channelSums[k]);
  if (last > first) {
    const float weightSum = channelSums[first];
    const __m256 reciprocal = _mm256_set1_ps(float(1.0 / weightSum));
    const auto sums = [&](int at, auto group) {
      constexpr int kVectors = decltype(group)::value;
      __m256 sum[kVectors];
#pragma GCC unroll 4
      for (int v = 0; v < kVectors; ++v)
        sum[v] = _mm256_setzero_ps();
      for (int d = -range; d <= range; ++d) {
        const __m256 gauss = _mm256_set1_ps(gf[std::abs(d)]);
#pragma GCC unroll 4
        for (int v = 0; v < kVectors; ++v)
          sum[v] =
              _mm256_fmadd_ps(_mm256_loadu_ps(channels + at + kLanes * v + 3 * d), gauss, sum[v]);
      }
      for (int v = 0; v < kVectors; ++v)
        _mm256_storeu_ps(out + at + kLanes * v,
                         _mm256_cvtepi32_ps(DividedLanes(sum[v], reciprocal, weightSum)));
    };
    for (; k + kGroup * kLanes <= last; k += kGroup * kLanes)
      sums(k, std::integral_constant<int, kGroup>{});
    for (; k + kLanes <= last; k += kLanes)
      sums(k, std::integral_constant<int, 1>{});
  }
  for (; k < n; ++k)
    out[k] = Divided(SumAcross(in, k, width, gf), channelSums[k]);
}

void BlurDown(const float* const* rows, const float* weights, int taps, float weightSum,
              std::uint8_t* out, int values, const SoftenBlend* blend, float*) {
  const __m256 reciprocal = _mm256_set1_ps(float(1.0 / weightSum));
  const auto sums = [&](int at, auto group) {
    constexpr int kVectors = decltype(group)::value;
    __m256 sum[kVectors];
#pragma GCC unroll 4
    for (int v = 0; v < kVectors; ++v)
      sum[v] = _mm256_setzero_ps();
    for (int i = 0; i < taps; ++i) {
      const __m256 gauss = _mm256_set1_ps(weights[i]);
#pragma GCC unroll 4
      for (int v = 0; v < kVectors; ++v)
        sum[v] = _mm256_fmadd_ps(_mm256_loadu_ps(rows[i] + at + kLanes * v), gauss, sum[v]);
    }
    for (int v = 0; v < kVectors; ++v)
      StoreBlurred(DividedLanes(sum[v], reciprocal, weightSum), out + at + kLanes * v, blend);
  };
  int k = 0;
  for (; k + kGroup * kLanes <= values; k += kGroup * kLanes)
    sums(k, std::integral_constant<int, kGroup>{});
  for (; k + kLanes <= values; k += kLanes)
    sums(k, std::integral_constant<int, 1>{});
  for (; k < values; ++k)
    out[k] = Blended(out[k], Divided(SumDown(rows, weights, taps, k), weightSum), blend);
}

void SharpenRow(const std::uint8_t* up, const std::uint8_t* mid, const std::uint8_t* down,
                std::uint8_t* out, int width, double rate, int* columns) {
  const int n = 3 * width;
  int k = 0;
  for (; k + kLanes <= n; k += kLanes) {
    const __m256i sum = _mm256_add_epi32(_mm256_add_epi32(WidenBytes(up + k), WidenBytes(mid + k)),
                                         WidenBytes(down + k));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(columns + k), sum);
  }
  for (; k < n; ++k)
    columns[k] = up[k] + mid[k] + down[k];
  PadColumns(columns, n);
  const __m256d rates = _mm256_set1_pd(rate);
  for (k = 0; k + kLanes <= n; k += kLanes) {
    const __m256i centre = WidenBytes(mid + k);
    const __m256i window = _mm256_add_epi32(
        _mm256_add_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + k - 3)),
                         _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + k))),
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + k + 3)));
    const __m256i sum = _mm256_sub_epi32(_mm256_mullo_epi32(centre, _mm256_set1_epi32(9)), window);
    __m128i halves[2];
    for (int half = 0; half < 2; ++half) {
      const __m128i c = half ? _mm256_extracti128_si256(centre, 1) : _mm256_castsi256_si128(centre);
      const __m128i s = half ? _mm256_extracti128_si256(sum, 1) : _mm256_castsi256_si128(sum);
      halves[half] = _mm256_cvtpd_epi32(
          _mm256_add_pd(_mm256_cvtepi32_pd(c), _mm256_mul_pd(rates, _mm256_cvtepi32_pd(s))));
    }
    StoreBytes(PackBytes(halves[0], halves[1]), out + k);
  }
  for (; k < n; ++k)
    out[k] = Sharpened(mid[k], columns, k, rate);
}

}  // namespace avx2
#pragma GCC pop_options

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return has;
}
#endif

}  // namespace

void BlurAcross(const std::uint8_t* in, float* out, int width, const std::vector<float>& gf,
                const float* channelSums, float* scratch) {
#ifdef KELPRA_FILTER_AVX2
  if (HasAvx2())
    return avx2::BlurAcross(in, out, width, gf, channelSums, scratch);
#endif
  portable::BlurAcross(in, out, width, gf, channelSums, scratch);
}

void BlurDown(const float* const* rows, const float* weights, int taps, float weightSum,
              std::uint8_t* out, int values, const SoftenBlend* blend, float* scratch) {
#ifdef KELPRA_FILTER_AVX2
  if (HasAvx2())
    return avx2::BlurDown(rows, weights, taps, weightSum, out, values, blend, scratch);
#endif
  portable::BlurDown(rows, weights, taps, weightSum, out, values, blend, scratch);
}

void SharpenRow(const std::uint8_t* up, const std::uint8_t* mid, const std::uint8_t* down,
                std::uint8_t* out, int width, double rate, int* columns) {
#ifdef KELPRA_FILTER_AVX2
  if (HasAvx2())
    return avx2::SharpenRow(up, mid, down, out, width, rate, columns);
#endif
  portable::SharpenRow(up, mid, down, out, width, rate, columns);
}

}  // namespace kelpra
