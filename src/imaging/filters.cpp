#include "imaging/filters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/parallel_rows.h"
#include "imaging/pixel_access.h"

namespace kelpra {

namespace {

std::uint8_t* Bytes(const TBmpData24& pixels, int y) {
  return reinterpret_cast<std::uint8_t*>(pixels.Data(0, y));
}

// AdjustByte for a value known to lie far inside the int range: rounding before clamping gives
// the same byte, and clamping an integer keeps floating-point compares out of the loop, which
// the compiler can then vectorise.
inline std::uint8_t BoundedToByte(double value) {
  return AdjustByte(int(RoundHalfEven(value)));
}

// gf[i] = exp(-(i*i) / (2*zone*zone)) for i = 0..3*zone, stored as single.
std::vector<float> GaussWeights(int zone) {
  const int range = 3 * zone;
  std::vector<float> gf(range + 1);
  for (int i = 0; i <= range; ++i) {
    gf[i] = float(std::exp(double(-(i * i)) / double(2 * zone * zone)));
  }
  return gf;
}

// The weight sum of each of n positions along a line, repeated `copies` times in a row: the
// taps that lie inside the line, added in ascending order, each addition in double rounded to
// single.
std::vector<float> WeightSums(int n, const std::vector<float>& gf, int copies) {
  const int range = int(gf.size()) - 1;
  std::vector<float> sums;
  sums.reserve(std::size_t(n) * copies);
  for (int p = 0; p < n; ++p) {
    float count = 0;
    for (int i = std::max(0, p - range); i <= std::min(n - 1, p + range); ++i) {
      count = float(double(count) + double(gf[std::abs(i - p)]));
    }
    sums.insert(sums.end(), copies, count);
  }
  return sums;
}

// One tap added to a running channel sum: the product and the sum in double, the sum rounded
// back to single.
inline float AddTap(float sum, std::uint8_t channel, float gauss) {
  return float(double(sum) + double(channel) * double(gauss));
}

// Horizontal pass over rows y0..y1. The loops run tap by tap over a whole row, so every pixel
// still takes its taps in ascending column order.
void BlurRows(const TBmpData24& src, const TBmpData24& dst, const std::vector<float>& gf,
              const std::vector<float>& channelSums, int y0, int y1) {
  const int w = src.Width();
  const int range = int(gf.size()) - 1;
  std::vector<float> acc(3 * std::size_t(w));
  for (int y = y0; y < y1; ++y) {
    const std::uint8_t* in = Bytes(src, y);
    std::fill(acc.begin(), acc.end(), 0.0f);
    for (int d = -std::min(range, w - 1); d <= std::min(range, w - 1); ++d) {
      const float gauss = gf[std::abs(d)];
      const int from = 3 * std::max(0, -d);
      const int to = 3 * std::min(w, w - d);
      const int shift = 3 * d;
      for (int k = from; k < to; ++k)
        acc[k] = AddTap(acc[k], in[k + shift], gauss);
    }
    std::uint8_t* out = Bytes(dst, y);
    for (int k = 0; k < 3 * w; ++k)
      out[k] = BoundedToByte(double(acc[k]) / double(channelSums[k]));
  }
}

// Vertical pass over rows y0..y1: each output row adds its source rows in ascending order.
// store(pixel, blurred) writes a blurred channel into the picture's channel.
template <typename Store>
void BlurColumns(const TBmpData24& src, const TBmpData24& dst, const std::vector<float>& gf,
                 const std::vector<float>& rowSums, int y0, int y1, const Store& store) {
  const int w = src.Width();
  const int h = src.Height();
  const int range = int(gf.size()) - 1;
  std::vector<float> acc(3 * std::size_t(w));
  for (int y = y0; y < y1; ++y) {
    std::fill(acc.begin(), acc.end(), 0.0f);
    for (int iy = std::max(0, y - range); iy <= std::min(h - 1, y + range); ++iy) {
      const float gauss = gf[std::abs(iy - y)];
      const std::uint8_t* in = Bytes(src, iy);
      for (int k = 0; k < 3 * w; ++k)
        acc[k] = AddTap(acc[k], in[k], gauss);
    }
    std::uint8_t* out = Bytes(dst, y);
    const double count = rowSums[y];
    for (int k = 0; k < 3 * w; ++k)
      store(out[k], BoundedToByte(double(acc[k]) / count));
  }
}

// Blurs bmp: the first pass goes into a working bitmap and is rounded to bytes before the
// second pass reads it and hands each result to store. A row's own channels are still the
// unblurred ones when store sees them.
template <typename Store>
void BlurInPlace(TBitmap& bmp, int zone, int threadCount, const Store& store) {
  const int w = bmp.Width();
  const int h = bmp.Height();
  const std::vector<float> gf = GaussWeights(zone);
  const std::vector<float> channelSums = WeightSums(w, gf, 3);
  const std::vector<float> rowSums = WeightSums(h, gf, 1);
  TBitmap pass(w, h);
  const TBmpData24 pixels(bmp);
  const TBmpData24 mid(pass);
  ParallelRows(h, threadCount,
               [&](int y0, int y1) { BlurRows(pixels, mid, gf, channelSums, y0, y1); });
  ParallelRows(h, threadCount,
               [&](int y0, int y1) { BlurColumns(mid, pixels, gf, rowSums, y0, y1, store); });
}

// Sharpens rows y0..y1 of dst from src. The mask (8 at the centre, -1 around) sums to 9 times
// the centre minus the 3 x 3 window; integer sums do not depend on their order. The window's
// taps beyond the picture replicate its edge rows and columns: the column sums carry a copy of
// the first and last column on either side.
void SharpenRows(const TBmpData24& src, const TBmpData24& dst, double rate, int y0, int y1) {
  const int w = src.Width();
  const int h = src.Height();
  const int n = 3 * w;
  std::vector<int> padded(n + 6);
  int* columns = padded.data() + 3;
  for (int y = y0; y < y1; ++y) {
    const std::uint8_t* up = Bytes(src, std::max(y - 1, 0));
    const std::uint8_t* mid = Bytes(src, y);
    const std::uint8_t* down = Bytes(src, std::min(y + 1, h - 1));
    for (int k = 0; k < n; ++k)
      columns[k] = up[k] + mid[k] + down[k];
    for (int c = 0; c < 3; ++c) {
      columns[c - 3] = columns[c];
      columns[n + c] = columns[n - 3 + c];
    }
    std::uint8_t* out = Bytes(dst, y);
    for (int k = 0; k < n; ++k) {
      const int sum = 9 * mid[k] - (columns[k - 3] + columns[k] + columns[k + 3]);
      out[k] = BoundedToByte(mid[k] + rate * sum);
    }
  }
}

}  // namespace

bool Sharpen(TBitmap& bmp, int percent) {
  return Sharpen(bmp, percent, DefaultThreadCount());
}

bool Sharpen(TBitmap& bmp, int percent, int threadCount) {
  if (percent < 0 || percent > 100 || bmp.PixelFormat() != pf24bit)
    return false;
  const double rate = percent / 100.0;
  const auto copy = BmpClone(bmp);
  const TBmpData24 src(*copy);
  const TBmpData24 dst(bmp);
  ParallelRows(bmp.Height(), threadCount,
               [&](int y0, int y1) { SharpenRows(src, dst, rate, y0, y1); });
  return true;
}

bool GaussianBlur(TBitmap& bmp, int zone) {
  return GaussianBlur(bmp, zone, DefaultThreadCount());
}

bool GaussianBlur(TBitmap& bmp, int zone, int threadCount) {
  if (bmp.PixelFormat() != pf24bit || zone < 1 || zone > 30)
    return false;
  BlurInPlace(bmp, zone, threadCount,
              [](std::uint8_t& pixel, std::uint8_t blurred) { pixel = blurred; });
  return true;
}

bool Soften(TBitmap& bmp, int percent) {
  return Soften(bmp, percent, DefaultThreadCount());
}

bool Soften(TBitmap& bmp, int percent, int threadCount) {
  if (bmp.PixelFormat() != pf24bit || percent < 0 || percent > 100)
    return false;
  const double r = float(percent / 100.0);  // held in single, then widened
  // The blend of a channel c with its blurred value s, for every pair (c, s).
  std::vector<std::uint8_t> blend(256 * 256);
  for (int c = 0; c < 256; ++c) {
    for (int s = 0; s < 256; ++s)
      blend[c * 256 + s] = BoundedToByte((1.0 - r) * c + r * s);
  }
  BlurInPlace(bmp, 1, threadCount, [&](std::uint8_t& pixel, std::uint8_t blurred) {
    pixel = blend[pixel * 256 + blurred];
  });
  return true;
}

}  // namespace kelpra
