#include "imaging/row_bands.h"

#include <algorithm>
#include <cstring>

#include "imaging/parallel_rows.h"

namespace kelpra {

void InPlaceBands(TBitmap& bmp, int reach, int threadCount,
                  const std::function<void(int y0, int y1, const SourceRows& source)>& work) {
  const int h = bmp.Height();
  const int bands = std::max(1, std::min(threadCount, h));
  const auto edge = [&](int band) { return int(std::int64_t(h) * band / bands); };
  std::vector<bool> nearEdge(h, false);
  for (int band = 1; band < bands; ++band) {
    for (int y = std::max(0, edge(band) - reach); y < std::min(h, edge(band) + reach); ++y)
      nearEdge[y] = true;
  }
  const std::size_t rowBytes = 3 * std::size_t(bmp.Width());
  std::vector<std::uint8_t> saved(rowBytes * std::count(nearEdge.begin(), nearEdge.end(), true));
  SourceRows source(h);
  std::size_t used = 0;
  for (int y = 0; y < h; ++y) {
    source[y] = bmp.ScanLine(y);
    if (nearEdge[y] && rowBytes > 0) {
      std::memcpy(saved.data() + used, source[y], rowBytes);
      source[y] = saved.data() + used;
      used += rowBytes;
    }
  }
  // One range of bands per thread; there are no more bands than threads.
  ParallelRows(bands, threadCount, [&](int first, int last) {
    for (int band = first; band < last; ++band)
      work(edge(band), edge(band + 1), source);
  });
}

}  // namespace kelpra
