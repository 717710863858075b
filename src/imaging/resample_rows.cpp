#include "imaging/resample_rows.h"

#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__) && !defined(__clang__)
#define KELPRA_RESAMPLE_AVX2 1
#include <immintrin.h>
#endif

// The vector helpers are always inlined, so their vector arguments never cross a call.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace kelpra {

namespace {

using Pixel = double __attribute__((vector_size(32)));

// AdjustByte(double) on each lane: clamp to 0..255, then round half to even. Adding and
// subtracting 2^52 rounds in the processor's default rounding mode, as nearbyint does.
[[gnu::always_inline]] inline Pixel AdjustLanes(Pixel v) {
  const Pixel zero = {0, 0, 0, 0};
  const Pixel top = {255, 255, 255, 255};
  const Pixel shift = {0x1p52, 0x1p52, 0x1p52, 0x1p52};
  v = v >= 0 ? v : zero;
  v = v > 255 ? top : v;
  return (v + shift) - shift;
}

void NearestRows(const ResampleJob& job, int y0, int y1) {
  const int* column = job.columns->index.data();
  for (int y = y0; y < y1; ++y) {
    const std::uint8_t* source = job.sourceRows[job.rows->index[y]];
    std::uint8_t* dest = job.destRows[y];
    for (int x = 0; x < job.destWidth; ++x)
      std::memcpy(dest + 3 * x, source + 3 * column[x], 3);
  }
}

// Any processor: plain vector code that the compiler lowers to what the target has.
namespace generic {

using PixelInts = std::int32_t __attribute__((vector_size(16)));
using Bytes = std::uint8_t __attribute__((vector_size(16)));

[[gnu::always_inline]] inline Pixel LoadPixel(const std::uint8_t* p) {
  Bytes bytes = {};
  std::memcpy(&bytes, p, 4);
  const Bytes zero = {};
  const Bytes spread = {0, 16, 16, 16, 1, 16, 16, 16, 2, 16, 16, 16, 3, 16, 16, 16};
  const Bytes widened = __builtin_shuffle(bytes, zero, spread);
  PixelInts ints;
  std::memcpy(&ints, &widened, sizeof ints);
  return __builtin_convertvector(ints, Pixel);
}

[[gnu::always_inline]] inline void StorePixel(Pixel v, std::uint8_t* p) {
  const PixelInts bytes = __builtin_convertvector(AdjustLanes(v), PixelInts);
  p[0] = std::uint8_t(bytes[0]);
  p[1] = std::uint8_t(bytes[1]);
  p[2] = std::uint8_t(bytes[2]);
}

#include "imaging/resample_row_loops.inc"

}  // namespace generic

#ifdef KELPRA_RESAMPLE_AVX2
// AVX2 processors: the same loops with one instruction per widening step, chosen at run time,
// so one binary serves every x86 processor. Only instructions differ, never the arithmetic.
#pragma GCC push_options
#pragma GCC target("avx2")
namespace avx2 {

[[gnu::always_inline]] inline Pixel LoadPixel(const std::uint8_t* p) {
  std::int32_t word;
  std::memcpy(&word, p, 4);
  return _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(word)));
}

[[gnu::always_inline]] inline void StorePixel(Pixel v, std::uint8_t* p) {
  const __m128i ints = _mm256_cvttpd_epi32(AdjustLanes(v));
  const __m128i packed = _mm_shuffle_epi8(
      ints, _mm_setr_epi8(0, 4, 8, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1));
  const std::uint32_t bgr = std::uint32_t(_mm_cvtsi128_si32(packed));
  std::memcpy(p, &bgr, 3);
}

#include "imaging/resample_row_loops.inc"

}  // namespace avx2
#pragma GCC pop_options
#endif

}  // namespace

void ResampleRows(const ResampleJob& job, int y0, int y1) {
  if (job.rule == ResizeRule::Copy) {
    NearestRows(job, y0, y1);
    return;
  }
#ifdef KELPRA_RESAMPLE_AVX2
  if (__builtin_cpu_supports("avx2")) {
    avx2::WeightedRows(job, y0, y1);
    return;
  }
#endif
  generic::WeightedRows(job, y0, y1);
}

}  // namespace kelpra
