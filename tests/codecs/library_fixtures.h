// JPEG and PNG variants that the shared writers do not make, written with libjpeg and libpng.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "imaging/bitmap.h"

namespace kelpra::test {

// components 1 (grey, from the blue channel), 3 or 4 (CMYK: the picture's B, G, R bytes become
// C, M, Y and k is given); adobe writes the Adobe marker. scans > 0: progressive with one
// scan per coefficient and bit plane, cut to that many scans (the most a valid file can hold
// for 3 components is 2090).
struct JpegLayout {
  int components = 3;
  std::uint8_t k = 0;
  bool adobe = true;
  int scans = 0;
  int quality = 95;
};
std::vector<std::uint8_t> EncodeJpeg(const TBitmap& bmp, const JpegLayout& layout);

struct PngLayout {
  int width = 0, height = 0;
  int colorType = 2;  // PNG_COLOR_TYPE_*
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<std::uint8_t> samples{};  // rows of samples as the PNG stores them, unpacked
                                        // (one value per sample, 16-bit as two bytes, big-endian)
  std::vector<TRGBQuad> palette{};
  std::vector<std::uint8_t> trnsAlpha{};  // palette: per entry
  std::optional<std::uint16_t> trnsGrey{};
  std::optional<std::array<std::uint16_t, 3>> trnsRgb{};  // red, green, blue
  std::size_t textBytes = 0;                              // a tEXt chunk of this many bytes
};
std::vector<std::uint8_t> EncodePng(const PngLayout& layout);

}  // namespace kelpra::test
