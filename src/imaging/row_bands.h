// Filters that write a picture in place while reading its rows nearby, run in bands of rows,
// one band per thread.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "imaging/bitmap.h"

namespace kelpra {

// The picture's original rows: source[y] is row y before any band wrote to it.
using SourceRows = std::vector<const std::uint8_t*>;

// Splits bmp's rows into bands and runs work(y0, y1, source) for each, on up to threadCount
// threads; work writes rows y0 <= y < y1 and reads rows up to `reach` beyond them. Rows within
// reach of a band's edge are read from a copy taken before the bands start; every other source
// row is the picture's own row, which only its band reads and which work must read before it
// writes it.
void InPlaceBands(TBitmap& bmp, int reach, int threadCount,
                  const std::function<void(int y0, int y1, const SourceRows& source)>& work);

}  // namespace kelpra
