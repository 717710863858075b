#include "imaging/tone.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "imaging/parallel_rows.h"
#include "imaging/pixel_access.h"

namespace kelpra {

namespace {

using ByteTable = std::array<std::uint8_t, 256>;

// Every channel of these operations depends on its own old value alone, so one table of the
// 256 results, computed with the exact formula, gives the same bytes as the formula per pixel.
void ApplyToChannels(TBitmap& bmp, const ByteTable& table, int threadCount) {
  const TBmpData24 pixels(bmp);
  const int bytesPerRow = 3 * pixels.Width();
  ParallelRows(pixels.Height(), threadCount, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      auto* row = reinterpret_cast<std::uint8_t*>(pixels.Data(0, y));
      for (int i = 0; i < bytesPerRow; ++i)
        row[i] = table[row[i]];
    }
  });
}

}  // namespace

void SetGrayPalette(TBitmap& bmp8) {
  TPalette& palette = bmp8.Palette();
  for (int i = 0; i < 256; ++i) {
    const auto level = std::uint8_t(i);
    palette[i] = {level, level, level, 0};
  }
}

bool GrayScale(TBitmap& bmp) {
  return GrayScale(bmp, DefaultThreadCount());
}

bool GrayScale(TBitmap& bmp, int threadCount) {
  if (bmp.PixelFormat() != pf24bit)
    return false;
  const int w = bmp.Width();
  const int h = bmp.Height();
  TBitmap gray(w, h, pf8bit);
  SetGrayPalette(gray);
  {
    const TBmpData24 src(bmp);
    const TBmpData8 dst(gray);
    ParallelRows(h, threadCount, [&](int y0, int y1) {
      for (int y = y0; y < y1; ++y) {
        const TRGBTriple* in = src.Data(0, y);
        std::uint8_t* out = dst.Data(0, y);
        // Truncated, not rounded: the double sum of an exact grey can fall just below it.
        for (int x = 0; x < w; ++x) {
          out[x] = std::uint8_t(in[x].rgbtRed * 0.299 + in[x].rgbtGreen * 0.587 +
                                in[x].rgbtBlue * 0.114);
        }
      }
    });
  }
  bmp.Assign(std::move(gray));
  return true;
}

bool Brightness(TBitmap& bmp, int percent) {
  return Brightness(bmp, percent, DefaultThreadCount());
}

// percent is not range-checked: the step is formed in 64 bits, so no int overflows, and held
// to +-256, beyond which every channel clamps the same way.
bool Brightness(TBitmap& bmp, int percent, int threadCount) {
  if (bmp.PixelFormat() != pf24bit)
    return false;
  const std::int64_t rr = std::int64_t(percent) * 255 / 100;
  const int step = int(std::clamp<std::int64_t>(rr, -256, 256));
  ByteTable table;
  for (int c = 0; c < 256; ++c)
    table[c] = AdjustByte(c + step);
  ApplyToChannels(bmp, table, threadCount);
  return true;
}

bool Contrast(TBitmap& bmp, int nContrast) {
  return Contrast(bmp, nContrast, DefaultThreadCount());
}

bool Contrast(TBitmap& bmp, int nContrast, int threadCount) {
  if (bmp.PixelFormat() != pf24bit || nContrast > 100 || nContrast < -100)
    return false;
  // The factor is kept in single precision, squared in double from the single.
  float value = float((nContrast + 100.0) / 100.0);
  value = float(double(value) * double(value));
  ByteTable table;
  for (int c = 0; c < 256; ++c) {
    table[c] = AdjustByte(((c / 255.0 - 0.5) * value + 0.5) * 255.0);
  }
  ApplyToChannels(bmp, table, threadCount);
  return true;
}

}  // namespace kelpra
