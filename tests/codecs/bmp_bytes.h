// BMP files built byte by byte, for the reader's tests.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/bitmap.h"

namespace kelpra::test {

struct BmpLayout {
  int width = 0;
  int height = 0;  // rows; stored negated when topDown
  bool topDown = false;
  int headerSize = 40;  // 12, 40, 52, 56, 108 or 124
  int bitCount = 24;
  std::uint32_t compression = 0;
  std::array<std::uint32_t, 3> masks{};  // red, green, blue, for compression 3
  std::vector<TRGBQuad> palette{};
  std::vector<std::uint8_t> pixels{};  // rows in file order, padded, or the RLE stream
};

std::vector<std::uint8_t> BuildBmp(const BmpLayout& layout);

// Rows of indices (top row first) packed at 1, 4 or 8 bits, in the file's row order.
std::vector<std::uint8_t> PackIndices(const std::vector<std::vector<int>>& rows, int bitCount,
                                      bool topDown);

// Little-endian field patching for damaged variants.
void Poke32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);
void Poke16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

// The 24-bit picture that indices through a palette give.
TBitmap FromIndices(const std::vector<std::vector<int>>& rows,
                    const std::vector<TRGBQuad>& palette);

}  // namespace kelpra::test
