// GIF files built byte by byte (with a plain LZW coder), so tests control every field: colour
// tables or none, indices past the table, frame position and size, interlacing, transparency.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/bitmap.h"

namespace kelpra::test {

struct GifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  std::optional<int> transparent{};      // a graphic control extension naming this index
  std::vector<TColor> localTable{};      // empty: none
  std::vector<std::vector<int>> rows{};  // indices, top row first
};

struct GifLayout {
  int screenWidth = 0, screenHeight = 0;
  std::vector<TColor> globalTable{};  // empty: none; the size is rounded up to a power of two
  int background = 0;
  int codeSize = 0;  // LZW minimum code size; 0: from the table size
  std::vector<GifFrame> frames{};
};

std::vector<std::uint8_t> BuildGif(const GifLayout& layout);

}  // namespace kelpra::test
