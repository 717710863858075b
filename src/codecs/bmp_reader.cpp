// Kelpra's own BMP reader: uncompressed pixels of every depth; RLE lives in bmp_rle.cpp.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <string>

#include "codecs/bmp_format.h"
#include "codecs/picture_decoder.h"

namespace kelpra {

namespace bmp {

namespace {

// One channel of a 16- or 32-bit pixel expanded to 8 bits as Windows does: the channel's top bits
// (at most 8) with their own top bits repeated below them (5 bits: v << 3 | v >> 2).
class ChannelExpander {
 public:
  explicit ChannelExpander(const ChannelMask& channel) {
    const int bits = std::popcount(channel.max);
    const int kept = std::min(bits, 8);
    shift_ = channel.shift + bits - kept;
    mask_ = channel.mask >> shift_ << shift_;
    for (std::uint32_t top = 0; top < (1u << kept); ++top) {
      std::uint32_t repeated = 0;
      int filled = 0;
      for (; filled < 8; filled += kept)
        repeated = repeated << kept | top;
      levels_[top] = std::uint8_t(repeated >> (filled - 8));
    }
  }
  std::uint8_t operator()(std::uint32_t pixel) const { return levels_[(pixel & mask_) >> shift_]; }

 private:
  std::uint32_t mask_ = 0;
  int shift_ = 0;
  std::array<std::uint8_t, 256> levels_{};
};

struct PixelExpander {
  ChannelExpander red, green, blue;
};

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

void ReadMaskedRow(const std::uint8_t* src, const Layout& layout, const PixelExpander& expand,
                   std::uint8_t* dst) {
  const int bytes = layout.bitCount / 8;
  for (int x = 0; x < layout.width; ++x) {
    std::uint32_t pixel = 0;
    for (int i = bytes - 1; i >= 0; --i)
      pixel = pixel << 8 | src[bytes * x + i];
    dst[3 * x] = expand.blue(pixel);
    dst[3 * x + 1] = expand.green(pixel);
    dst[3 * x + 2] = expand.red(pixel);
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
  std::optional<PixelExpander> expand;
  if (layout.bitCount == 16 || layout.bitCount == 32) {
    expand = PixelExpander{ChannelExpander(layout.red), ChannelExpander(layout.green),
                           ChannelExpander(layout.blue)};
  }
  for (int row = 0; row < layout.height; ++row) {
    const std::uint8_t* src = data.data() + layout.pixelOffset + std::size_t(row) * stride;
    std::uint8_t* dst = out.ScanLine(layout.topDown ? row : layout.height - 1 - row);
    if (indexed) {
      ReadIndexedRow(src, layout, dst);
    } else if (layout.bitCount == 24) {
      std::memcpy(dst, src, std::size_t(layout.width) * 3);
    } else {
      ReadMaskedRow(src, layout, *expand, dst);
    }
  }
}

}  // namespace bmp

bool HasBmpSignature(std::span<const std::uint8_t> data) {
  return data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
}

DecodeResult DecodeBmp(std::span<const std::uint8_t> data, TBitmap& out) {
  if (!HasBmpSignature(data))
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
