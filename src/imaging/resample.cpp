#include "imaging/resample.h"

#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include "imaging/parallel_rows.h"
#include "imaging/pixel_access.h"
#include "imaging/resample_axis.h"
#include "imaging/resample_rows.h"
#include "imaging/resample_threads.h"

namespace kelpra {

namespace {

// The caller's object keeps its identity and its brush; size, format, colour table and pixels
// are the result's.
void Replace(TBitmap& bmp, TBitmap&& result) {
  const TColor brush = bmp.BrushColor;
  bmp = std::move(result);
  bmp.BrushColor = brush;
}

// Resamples bmp into work, which it sizes first; false, work untouched, where BmpResize gives up.
// An error of the row loops comes back in rowsFailed, with work as far as they got.
bool ResampleInto(const TBitmap& bmp, TBitmap& work, int rwidth, int rheight, TResizeMode mode,
                  int threadCount, std::exception_ptr& rowsFailed) {
  if (bmp.PixelFormat() != pf24bit || bmp.Empty() || rwidth < 1 || rheight < 1)
    return false;
  if (mode < 0 || mode >= kResizeModeCount)
    return false;
  const int w = bmp.Width();
  const int h = bmp.Height();
  const double wfactor = double(w) / rwidth;
  const double hfactor = double(h) / rheight;
  const ResizeFilter& filter = FilterOf(mode);
  const AxisSamples columns = SampleAxis(filter, Axis::Columns, w, rwidth, wfactor);
  const AxisSamples rows = SampleAxis(filter, Axis::Rows, h, rheight, hfactor);

  // Every pixel of the result is written, so a fresh bitmap serves as the working copy; its
  // untouched pages cost nothing until the row loops fill them, on all cores.
  work = TBitmap::ToBeOverwritten(rwidth, rheight, pf24bit);
  work.Palette() = bmp.Palette();

  std::vector<const std::uint8_t*> sourceRows(h);
  for (int y = 0; y < h; ++y)
    sourceRows[y] = bmp.ScanLine(y);
  std::vector<std::uint8_t*> destRows(rheight);
  for (int y = 0; y < rheight; ++y)
    destRows[y] = work.ScanLine(y);
  // The loops read a pixel as 4 bytes; a last row without padding is read from a padded copy.
  std::vector<std::uint8_t> lastRow;
  if (bmp.Stride() < std::size_t(3) * w + 1) {
    lastRow.assign(std::size_t(3) * w + 1, 0);
    std::memcpy(lastRow.data(), sourceRows[h - 1], std::size_t(3) * w);
    sourceRows[h - 1] = lastRow.data();
  }

  const ResampleJob job{filter.rule, &columns, &rows, sourceRows.data(), destRows.data(), rwidth};
  try {
    ParallelRows(rheight, threadCount, [&job](int y0, int y1) { ResampleRows(job, y0, y1); });
  } catch (...) {
    rowsFailed = std::current_exception();
  }
  return true;
}

}  // namespace

bool BmpResize(TBitmap& bmp, int rwidth, int rheight, TResizeMode mode) {
  return BmpResizeOnThreads(bmp, rwidth, rheight, mode, DefaultThreadCount());
}

std::optional<TBitmap> Resampled(const TBitmap& bmp, int rwidth, int rheight, TResizeMode mode) {
  TBitmap work;
  std::exception_ptr rowsFailed;
  if (!ResampleInto(bmp, work, rwidth, rheight, mode, DefaultThreadCount(), rowsFailed))
    return std::nullopt;
  if (rowsFailed)
    std::rethrow_exception(rowsFailed);
  return work;
}

bool BmpResizeOnThreads(TBitmap& bmp, int rwidth, int rheight, TResizeMode mode, int threadCount) {
  TBitmap work;
  std::exception_ptr rowsFailed;
  if (!ResampleInto(bmp, work, rwidth, rheight, mode, threadCount, rowsFailed))
    return false;
  Replace(bmp, std::move(work));
  if (rowsFailed)
    std::rethrow_exception(rowsFailed);
  return true;
}

}  // namespace kelpra
