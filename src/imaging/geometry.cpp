#include "imaging/geometry.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <utility>
#include <vector>

#include "imaging/parallel_rows.h"
#include "imaging/pixel_access.h"

namespace kelpra {

namespace {

// Edge of the square tiles a quarter turn copies: a tile's source rows stay in cache while
// its destination rows are written.
constexpr int kTile = 64;

// Copies every destination pixel (dx, dy) of the turned picture from source(dx, dy), tile by
// tile over the destination rows y0..y1.
template <typename SourceOf>
void CopyTurned(const TBmpData24& dst, int y0, int y1, SourceOf source) {
  for (int ty = y0; ty < y1; ty += kTile) {
    const int tyEnd = std::min(ty + kTile, y1);
    for (int tx = 0; tx < dst.Width(); tx += kTile) {
      const int txEnd = std::min(tx + kTile, dst.Width());
      for (int dy = ty; dy < tyEnd; ++dy) {
        for (int dx = tx; dx < txEnd; ++dx)
          std::memcpy(dst.Data(dx, dy), source(dx, dy), 3);
      }
    }
  }
}

}  // namespace

bool Rotate90(TBitmap& bmp, bool plus) {
  return Rotate90(bmp, plus, DefaultThreadCount());
}

bool Rotate90(TBitmap& bmp, bool plus, int threadCount) {
  if (bmp.PixelFormat() != pf24bit)
    return false;
  const int w = bmp.Width();
  const int h = bmp.Height();
  TBitmap turned(h, w);
  turned.Palette() = bmp.Palette();
  {
    const TBmpData24 src(bmp);
    const TBmpData24 dst(turned);
    // Clockwise, source (ix, iy) lands on (h - 1 - iy, ix); counter-clockwise on (iy, w - 1 - ix).
    ParallelRows(w, threadCount, [&](int y0, int y1) {
      if (plus) {
        CopyTurned(dst, y0, y1, [&](int dx, int dy) { return src.Data(dy, h - 1 - dx); });
      } else {
        CopyTurned(dst, y0, y1, [&](int dx, int dy) { return src.Data(w - 1 - dy, dx); });
      }
    });
  }
  bmp.Assign(std::move(turned));
  return true;
}

bool Rotate180(TBitmap& bmp) {
  return Rotate180(bmp, DefaultThreadCount());
}

bool Rotate180(TBitmap& bmp, int threadCount) {
  if (bmp.PixelFormat() != pf24bit)
    return false;
  const int w = bmp.Width();
  const int h = bmp.Height();
  TBitmap turned(w, h);
  turned.Palette() = bmp.Palette();
  {
    const TBmpData24 src(bmp);
    const TBmpData24 dst(turned);
    ParallelRows(h, threadCount, [&](int y0, int y1) {
      for (int dy = y0; dy < y1; ++dy) {
        const TRGBTriple* in = src.Data(0, h - 1 - dy);
        TRGBTriple* out = dst.Data(0, dy);
        for (int dx = 0; dx < w; ++dx)
          out[dx] = in[w - 1 - dx];
      }
    });
  }
  bmp.Assign(std::move(turned));
  return true;
}

bool SideBySide(TBitmap& bmpL, const TBitmap& bmpR, TColor bkColor, int Split) {
  return SideBySide(bmpL, bmpR, bkColor, Split, DefaultThreadCount());
}

// A negative Split would draw the right page over the left one (and, large enough, ask for a
// negative width), so it is refused like any other parameter out of range. Each row is laid
// down once: the background, then the row of each page that reaches it, which gives the bytes
// of filling the whole spread and drawing both pages over it.
bool SideBySide(TBitmap& bmpL, const TBitmap& bmpR, TColor bkColor, int Split, int threadCount) {
  if (bmpL.PixelFormat() != pf24bit || bmpR.PixelFormat() != pf24bit || Split < 0)
    return false;
  const std::int64_t width = std::int64_t(bmpL.Width()) + bmpR.Width() + Split + 2;
  const std::int64_t height = std::int64_t(std::max(bmpL.Height(), bmpR.Height())) + 2;
  if (width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max()) {
    throw std::bad_alloc();
  }
  // Every row is written whole below.
  TBitmap spread = TBitmap::ToBeOverwritten(static_cast<int>(width), static_cast<int>(height));
  const TColor rgb = ColorToRGB(bkColor);
  const std::vector<TRGBTriple> background(width, {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)});
  const std::size_t leftBytes = 3 * std::size_t(bmpL.Width());
  const std::size_t rightBytes = 3 * std::size_t(bmpR.Width());
  const std::size_t rightOffset = 3 * (std::size_t(bmpL.Width()) + Split + 1);
  const TBmpData24 out(spread);
  ParallelRows(int(height), threadCount, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      auto* row = reinterpret_cast<std::uint8_t*>(out.Data(0, y));
      std::memcpy(row, background.data(), 3 * std::size_t(width));
      if (y >= 1 && y <= bmpL.Height() && leftBytes > 0) {
        std::memcpy(row + 3, bmpL.ScanLine(y - 1), leftBytes);
      }
      if (y >= 1 && y <= bmpR.Height() && rightBytes > 0) {
        std::memcpy(row + rightOffset, bmpR.ScanLine(y - 1), rightBytes);
      }
    }
  });
  bmpL.Assign(std::move(spread));
  return true;
}

}  // namespace kelpra
