#include "imaging/resample_rows.h"

#include <cstring>

namespace kelpra {

namespace {

// One pixel's blue, green and red (and a fourth lane that is never stored) in one vector: every
// lane goes through exactly the scalar operations of its channel, in the same order.
using Pixel = double __attribute__((vector_size(32)));
using PixelInts = std::int32_t __attribute__((vector_size(16)));
using Bytes = std::uint8_t __attribute__((vector_size(16)));

// Reads 4 bytes (blue, green, red and the next byte) and widens each to a double.
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

// AdjustByte(double) on each lane: clamp to 0..255, then round half to even. Adding and
// subtracting 2^52 rounds in the processor's default rounding mode, as nearbyint does.
[[gnu::always_inline]] inline void StorePixel(Pixel v, std::uint8_t* p) {
  const Pixel zero = {0, 0, 0, 0};
  const Pixel top = {255, 255, 255, 255};
  const Pixel shift = {0x1p52, 0x1p52, 0x1p52, 0x1p52};
  v = v >= 0 ? v : zero;
  v = v > 255 ? top : v;
  v = (v + shift) - shift;
  const PixelInts bytes = __builtin_convertvector(v, PixelInts);
  p[0] = std::uint8_t(bytes[0]);
  p[1] = std::uint8_t(bytes[1]);
  p[2] = std::uint8_t(bytes[2]);
}

// r = r + (red * wx) * wy over the taps in row-major order, starting from 0.
template <int Taps>
[[gnu::always_inline]] inline void TapRow(const ResampleJob& job, int y) {
  const int* rowIndex = &job.rows->index[std::size_t(y) * Taps];
  const double* wy = &job.rows->weight[std::size_t(y) * Taps];
  const std::uint8_t* source[Taps];
  for (int j = 0; j < Taps; ++j)
    source[j] = job.sourceRows[rowIndex[j]];
  const int* offset = job.columns->index.data();
  const double* wx = job.columns->weight.data();
  std::uint8_t* dest = job.destRows[y];
  for (int x = 0; x < job.destWidth; ++x, offset += Taps, wx += Taps) {
    Pixel sum = {0, 0, 0, 0};
    for (int j = 0; j < Taps; ++j) {
      for (int i = 0; i < Taps; ++i) {
        sum = sum + (LoadPixel(source[j] + 3 * offset[i]) * wx[i]) * wy[j];
      }
    }
    StorePixel(sum, dest + 3 * x);
  }
}

// c1 = p00 * cx0 + p10 * cx1; c2 = p01 * cx0 + p11 * cx1; c1 * cy0 + c2 * cy1.
[[gnu::always_inline]] inline void BilinearRow(const ResampleJob& job, int y) {
  const int* rowIndex = &job.rows->index[std::size_t(y) * 2];
  const double cy0 = job.rows->weight[std::size_t(y) * 2];
  const double cy1 = job.rows->weight[std::size_t(y) * 2 + 1];
  const std::uint8_t* row0 = job.sourceRows[rowIndex[0]];
  const std::uint8_t* row1 = job.sourceRows[rowIndex[1]];
  const int* offset = job.columns->index.data();
  const double* cx = job.columns->weight.data();
  std::uint8_t* dest = job.destRows[y];
  for (int x = 0; x < job.destWidth; ++x, offset += 2, cx += 2) {
    const Pixel c1 =
        LoadPixel(row0 + 3 * offset[0]) * cx[0] + LoadPixel(row0 + 3 * offset[1]) * cx[1];
    const Pixel c2 =
        LoadPixel(row1 + 3 * offset[0]) * cx[0] + LoadPixel(row1 + 3 * offset[1]) * cx[1];
    StorePixel(c1 * cy0 + c2 * cy1, dest + 3 * x);
  }
}

void NearestRow(const ResampleJob& job, int y) {
  const std::uint8_t* source = job.sourceRows[job.rows->index[y]];
  const int* column = job.columns->index.data();
  std::uint8_t* dest = job.destRows[y];
  for (int x = 0; x < job.destWidth; ++x)
    std::memcpy(dest + 3 * x, source + 3 * column[x], 3);
}

// One binary for every x86-64: the loops are cloned for AVX2 and chosen at load time. The
// clones differ in instructions only; each lane's arithmetic is the same IEEE double sequence.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define KELPRA_CLONES [[gnu::target_clones("avx2", "default")]]
#else
#define KELPRA_CLONES
#endif

KELPRA_CLONES void TapRows2(const ResampleJob& job, int y0, int y1) {
  for (int y = y0; y < y1; ++y)
    TapRow<2>(job, y);
}

KELPRA_CLONES void TapRows4(const ResampleJob& job, int y0, int y1) {
  for (int y = y0; y < y1; ++y)
    TapRow<4>(job, y);
}

KELPRA_CLONES void BilinearRows(const ResampleJob& job, int y0, int y1) {
  for (int y = y0; y < y1; ++y)
    BilinearRow(job, y);
}

}  // namespace

void ResampleRows(const ResampleJob& job, int y0, int y1) {
  switch (job.rule) {
    case ResizeRule::Copy:
      for (int y = y0; y < y1; ++y)
        NearestRow(job, y);
      break;
    case ResizeRule::Bilinear:
      BilinearRows(job, y0, y1);
      break;
    case ResizeRule::Taps:
      if (job.columns->taps == 2) {
        TapRows2(job, y0, y1);
      } else {
        TapRows4(job, y0, y1);
      }
      break;
  }
}

}  // namespace kelpra
