#include "imaging/filters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/filter_rows.h"
#include "imaging/parallel_rows.h"
#include "imaging/row_bands.h"

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

// Blurs bmp: each row blurred across is rounded to bytes before the vertical pass reads it;
// the vertical pass writes bmp, mixing its result in with blend when there is one. Each band
// keeps the rows blurred across that its next row needs.
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
  const std::size_t values = 3 * std::size_t(w);
  const int slots = std::min(2 * range + 1, h);
  InPlaceBands(bmp, range, threadCount, [&](int y0, int y1, const SourceRows& source) {
    std::vector<float> across(slots * values);
    std::vector<float> scratch(values);
    std::vector<const float*> taps(2 * std::size_t(range) + 1);
    const auto slot = [&](int y) { return across.data() + (y % slots) * values; };
    int next = std::max(0, y0 - range);
    for (int y = y0; y < y1; ++y) {
      const int top = std::max(0, y - range);
      const int bottom = std::min(h - 1, y + range);
      for (; next <= bottom; ++next)
        BlurAcross(source[next], slot(next), w, gf, channelSums.data(), scratch.data());
      for (int iy = top; iy <= bottom; ++iy)
        taps[iy - top] = slot(iy);
      BlurDown(taps.data(), &line[top - (y - range)], bottom - top + 1, rowSums[y], bmp.ScanLine(y),
               int(values), blend, scratch.data());
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
  // A band overwrites each row after reading it: the row above is kept as it was.
  InPlaceBands(bmp, 1, threadCount, [&](int y0, int y1, const SourceRows& source) {
    const std::size_t rowBytes = 3 * std::size_t(w);
    std::vector<std::uint8_t> kept(2 * rowBytes);
    std::vector<int> padded(3 * std::size_t(w) + 6);
    const std::uint8_t* above = y0 > 0 ? source[y0 - 1] : nullptr;
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* centre = kept.data() + (y % 2) * rowBytes;
      std::copy_n(source[y], rowBytes, centre);
      SharpenRow(above ? above : centre, centre, y + 1 < h ? source[y + 1] : centre,
                 bmp.ScanLine(y), w, rate, padded.data() + 3);
      above = centre;
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
  const SoftenBlend blend{float(percent / 100.0)};
  BlurInPlace(bmp, 1, threadCount, &blend);
  return true;
}

}  // namespace kelpra
