#include "imaging/filters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/filter_rows.h"
#include "imaging/parallel_rows.h"
#include "imaging/pixel_access.h"

namespace kelpra {

namespace {

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

std::vector<std::uint8_t*> RowAddresses(TBitmap& bmp) {
  std::vector<std::uint8_t*> rows(bmp.Height());
  for (int y = 0; y < bmp.Height(); ++y)
    rows[y] = bmp.ScanLine(y);
  return rows;
}

// Blurs bmp: the first pass goes into a working bitmap and is rounded to bytes before the
// second pass reads it and writes bmp, mixing it in with blend when there is one.
void BlurInPlace(TBitmap& bmp, int zone, int threadCount, const SoftenBlend* blend) {
  const int w = bmp.Width();
  const int h = bmp.Height();
  const std::vector<float> gf = GaussWeights(zone);
  const int range = int(gf.size()) - 1;
  const std::vector<float> channelSums = WeightSums(w, gf, 3);
  const std::vector<float> rowSums = WeightSums(h, gf, 1);
  // The taps of a row y in order: line[j] weighs the row y - range + j.
  std::vector<float> line(2 * std::size_t(range) + 1);
  for (int j = 0; j <= 2 * range; ++j)
    line[j] = gf[std::abs(j - range)];
  TBitmap pass(w, h);
  const std::vector<std::uint8_t*> pixels = RowAddresses(bmp);
  const std::vector<std::uint8_t*> mid = RowAddresses(pass);
  ParallelRows(h, threadCount, [&](int y0, int y1) {
    std::vector<float> scratch(3 * std::size_t(w));
    for (int y = y0; y < y1; ++y)
      BlurAcross(pixels[y], mid[y], w, gf, channelSums.data(), scratch.data());
  });
  ParallelRows(h, threadCount, [&](int y0, int y1) {
    std::vector<float> scratch(3 * std::size_t(w));
    for (int y = y0; y < y1; ++y) {
      const int top = std::max(0, y - range);
      const int taps = std::min(h - 1, y + range) - top + 1;
      BlurDown(&mid[top], &line[top - (y - range)], taps, rowSums[y], pixels[y], 3 * w, blend,
               scratch.data());
    }
  });
}

}  // namespace

bool Sharpen(TBitmap& bmp, int percent) {
  return Sharpen(bmp, percent, DefaultThreadCount());
}

bool Sharpen(TBitmap& bmp, int percent, int threadCount) {
  if (percent < 0 || percent > 100 || bmp.PixelFormat() != pf24bit)
    return false;
  const double rate = percent / 100.0;
  const int w = bmp.Width();
  const int h = bmp.Height();
  const auto copy = BmpClone(bmp);
  const std::vector<std::uint8_t*> src = RowAddresses(*copy);
  const std::vector<std::uint8_t*> dst = RowAddresses(bmp);
  ParallelRows(h, threadCount, [&](int y0, int y1) {
    std::vector<int> padded(3 * std::size_t(w) + 6);
    for (int y = y0; y < y1; ++y) {
      SharpenRow(src[std::max(y - 1, 0)], src[y], src[std::min(y + 1, h - 1)], dst[y], w, rate,
                 padded.data() + 3);
    }
  });
  return true;
}

bool GaussianBlur(TBitmap& bmp, int zone) {
  return GaussianBlur(bmp, zone, DefaultThreadCount());
}

bool GaussianBlur(TBitmap& bmp, int zone, int threadCount) {
  if (bmp.PixelFormat() != pf24bit || zone < 1 || zone > 30)
    return false;
  BlurInPlace(bmp, zone, threadCount, nullptr);
  return true;
}

bool Soften(TBitmap& bmp, int percent) {
  return Soften(bmp, percent, DefaultThreadCount());
}

bool Soften(TBitmap& bmp, int percent, int threadCount) {
  if (bmp.PixelFormat() != pf24bit || percent < 0 || percent > 100)
    return false;
  const double r = float(percent / 100.0);  // held in single, then widened
  const SoftenBlend blend{1.0 - r, r};
  BlurInPlace(bmp, 1, threadCount, &blend);
  return true;
}

}  // namespace kelpra
