// The parts of a BMP file's headers that the pixel decoding needs, already checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/bitmap.h"

namespace kelpra::bmp {

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

// Where one colour channel sits in a 16- or 32-bit pixel.
struct ChannelMask {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;  // the channel's largest value, mask >> shift
};

struct Layout {
  int width = 0;
  int height = 0;  // rows, always positive
  bool topDown = false;
  int bitCount = 0;
  Compression compression = kRgb;
  ChannelMask red, green, blue;  // 16 and 32 bits
  TPalette palette{};
  int paletteSize = 0;  // entries stored in the file, for 1 to 8 bits
  std::size_t pixelOffset = 0;
};

// Reads and checks the headers; throws BrokenPicture. The data starts with "BM".
Layout ReadLayout(std::span<const std::uint8_t> data);

// Decodes the pixels described by layout into out: 8-bit with the colour table for 1 to 8 bits,
// else 24-bit. Throws BrokenPicture.
void ReadPixels(std::span<const std::uint8_t> data, const Layout& layout, TBitmap& out);

// The RLE4 and RLE8 part of ReadPixels: out is 8-bit, the size of the picture, all index 0.
void ReadRle(std::span<const std::uint8_t> data, const Layout& layout, TBitmap& out);

// Throws BrokenPicture when a pixel names a colour past the file's colour table.
[[noreturn]] void ThrowIndexPastTable(unsigned index, const Layout& layout);
inline void CheckIndex(unsigned index, const Layout& layout) {
  if (int(index) >= layout.paletteSize)
    ThrowIndexPastTable(index, layout);
}

}  // namespace kelpra::bmp
