#include "bmp_bytes.h"

namespace kelpra::test {

void Poke16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  if (bytes.size() < at + 2)
    bytes.resize(at + 2);
  bytes[at] = std::uint8_t(value);
  bytes[at + 1] = std::uint8_t(value >> 8);
}

void Poke32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  Poke16(bytes, at, value & 0xFFFF);
  Poke16(bytes, at + 2, value >> 16);
}

std::vector<std::uint8_t> BuildBmp(const BmpLayout& layout) {
  const bool core = layout.headerSize == 12;
  std::vector<std::uint8_t> bytes(14 + layout.headerSize, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  Poke32(bytes, 14, std::uint32_t(layout.headerSize));
  if (core) {
    Poke16(bytes, 18, std::uint32_t(layout.width));
    Poke16(bytes, 20, std::uint32_t(layout.height));
    Poke16(bytes, 22, 1);
    Poke16(bytes, 24, std::uint32_t(layout.bitCount));
  } else {
    Poke32(bytes, 18, std::uint32_t(layout.width));
    Poke32(bytes, 22, std::uint32_t(layout.topDown ? -layout.height : layout.height));
    Poke16(bytes, 26, 1);
    Poke16(bytes, 28, std::uint32_t(layout.bitCount));
    Poke32(bytes, 30, layout.compression);
    Poke32(bytes, 34, std::uint32_t(layout.pixels.size()));
    Poke32(bytes, 46, std::uint32_t(layout.palette.size()));
    if (layout.headerSize > 40) {
      for (int i = 0; i < 3; ++i)
        Poke32(bytes, 54 + 4 * i, layout.masks[i]);
    }
  }
  if (layout.headerSize == 40 && layout.compression == 3) {
    for (std::uint32_t mask : layout.masks) {
      bytes.insert(bytes.end(), {std::uint8_t(mask), std::uint8_t(mask >> 8),
                                 std::uint8_t(mask >> 16), std::uint8_t(mask >> 24)});
    }
  }
  for (const TRGBQuad& entry : layout.palette) {
    bytes.insert(bytes.end(), {entry.rgbBlue, entry.rgbGreen, entry.rgbRed});
    if (!core)
      bytes.push_back(0);
  }
  Poke32(bytes, 10, std::uint32_t(bytes.size()));
  bytes.insert(bytes.end(), layout.pixels.begin(), layout.pixels.end());
  Poke32(bytes, 2, std::uint32_t(bytes.size()));
  return bytes;
}

std::vector<std::uint8_t> PackIndices(const std::vector<std::vector<int>>& rows, int bitCount,
                                      bool topDown) {
  std::vector<std::uint8_t> out;
  const int height = int(rows.size());
  for (int r = 0; r < height; ++r) {
    const std::vector<int>& row = rows[topDown ? r : height - 1 - r];
    const std::size_t stride = (row.size() * bitCount + 31) / 32 * 4;
    std::vector<std::uint8_t> packed(stride, 0);
    for (std::size_t x = 0; x < row.size(); ++x) {
      const std::size_t bit = x * bitCount;
      packed[bit / 8] |= std::uint8_t(row[x] << (8 - bitCount - bit % 8));
    }
    out.insert(out.end(), packed.begin(), packed.end());
  }
  return out;
}

TBitmap FromIndices(const std::vector<std::vector<int>>& rows,
                    const std::vector<TRGBQuad>& palette) {
  TBitmap bmp(int(rows[0].size()), int(rows.size()), pf24bit);
  for (int y = 0; y < bmp.Height(); ++y) {
    for (int x = 0; x < bmp.Width(); ++x) {
      const TRGBQuad& entry = palette[std::size_t(rows[y][x])];
      std::uint8_t* pixel = bmp.ScanLine(y) + 3 * x;
      pixel[0] = entry.rgbBlue;
      pixel[1] = entry.rgbGreen;
      pixel[2] = entry.rgbRed;
    }
  }
  return bmp;
}

}  // namespace kelpra::test
