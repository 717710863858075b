// Kelpra's own BMP reader: uncompressed pixels of every depth; RLE lives in bmp_rle.cpp.
#include <cstring>
#include <string>

#include "codecs/bmp_format.h"
#include "codecs/picture_decoder.h"

namespace kelpra {

namespace bmp {

namespace {

// Scales a masked channel to 0..255, rounding to nearest.
std::uint8_t Channel(std::uint32_t pixel, const ChannelMask& channel) {
  const std::uint64_t value = (pixel & channel.mask) >> channel.shift;
  return std::uint8_t((value * 255 + channel.max / 2) / channel.max);
}

void ReadIndexedRow(const std::uint8_t* src, const Layout& layout, std::uint8_t* dst) {
  const int bits = layout.bitCount;
  const unsigned mask = (1u << bits) - 1;
  for (int x = 0; x < layout.width; ++x) {
    const std::size_t bit = std::size_t(x) * bits;
    const unsigned index = (src[bit / 8] >> (8 - bits - bit % 8)) & mask;
    CheckIndex(index, layout);
    dst[x] = std::uint8_t(index);
  }
}

void ReadMaskedRow(const std::uint8_t* src, const Layout& layout, std::uint8_t* dst) {
  const int bytes = layout.bitCount / 8;
  for (int x = 0; x < layout.width; ++x) {
    std::uint32_t pixel = 0;
    for (int i = bytes - 1; i >= 0; --i)
      pixel = pixel << 8 | src[bytes * x + i];
    dst[3 * x] = Channel(pixel, layout.blue);
    dst[3 * x + 1] = Channel(pixel, layout.green);
    dst[3 * x + 2] = Channel(pixel, layout.red);
  }
}

}  // namespace

void ThrowIndexPastTable(unsigned index, const Layout& layout) {
  throw BrokenPicture("the BMP picture uses colour " + std::to_string(index) +
                      ", but its colour table has only " + std::to_string(layout.paletteSize) +
                      " entries");
}

void ReadPixels(std::span<const std::uint8_t> data, const Layout& layout, TBitmap& out) {
  const bool indexed = layout.bitCount <= 8;
  out = TBitmap(layout.width, layout.height, indexed ? pf8bit : pf24bit);
  if (indexed)
    out.Palette() = layout.palette;
  if (layout.compression == kRle4 || layout.compression == kRle8) {
    ReadRle(data, layout, out);
    return;
  }
  const std::size_t stride = (std::size_t(layout.width) * layout.bitCount + 31) / 32 * 4;
  for (int row = 0; row < layout.height; ++row) {
    const std::uint8_t* src = data.data() + layout.pixelOffset + std::size_t(row) * stride;
    std::uint8_t* dst = out.ScanLine(layout.topDown ? row : layout.height - 1 - row);
    if (indexed) {
      ReadIndexedRow(src, layout, dst);
    } else if (layout.bitCount == 24) {
      std::memcpy(dst, src, std::size_t(layout.width) * 3);
    } else {
      ReadMaskedRow(src, layout, dst);
    }
  }
}

}  // namespace bmp

DecodeResult DecodeBmp(std::span<const std::uint8_t> data, TBitmap& out) {
  if (data.size() < 2 || data[0] != 'B' || data[1] != 'M')
    return DecodeResult::NotThisFormat();
  try {
    const bmp::Layout layout = bmp::ReadLayout(data);
    bmp::ReadPixels(data, layout, out);
    return DecodeResult::Decoded();
  } catch (const BrokenPicture& broken) {
    return DecodeResult::Broken(broken.what());
  }
}

}  // namespace kelpra
