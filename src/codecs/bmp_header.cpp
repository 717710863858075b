// BMP headers: file header, then BITMAPCOREHEADER, BITMAPINFOHEADER (with its 52- and 56-byte
// extensions), V4 or V5, then the colour masks and colour table.
#include <bit>
#include <string>

#include "codecs/bmp_format.h"
#include "codecs/picture_decoder.h"

namespace kelpra::bmp {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kMasksOffset = kFileHeaderSize + 40;  // masks follow the 40-byte fields

class LittleEndian {
 public:
  explicit LittleEndian(std::span<const std::uint8_t> data) : data_(data) {}
  std::uint32_t U16(std::size_t at) const {
    Need(at, 2);
    return std::uint32_t(data_[at]) | std::uint32_t(data_[at + 1]) << 8;
  }
  std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
  std::int32_t S32(std::size_t at) const { return std::int32_t(U32(at)); }

 private:
  void Need(std::size_t at, std::size_t count) const {
    if (at > data_.size() || data_.size() - at < count) {
      throw BrokenPicture("the BMP header is truncated");
    }
  }
  std::span<const std::uint8_t> data_;
};

ChannelMask MakeMask(std::uint32_t mask, int bitCount) {
  const bool fits = bitCount == 32 || mask < (std::uint32_t(1) << bitCount);
  const int shift = mask ? std::countr_zero(mask) : 0;
  const std::uint32_t value = mask >> shift;
  // Contiguous: value + 1 is a power of two.
  if (mask == 0 || !fits || (value & (value + 1)) != 0) {
    throw BrokenPicture("the BMP colour masks are invalid");
  }
  return {mask, shift, value};
}

void ReadMasks(const LittleEndian& in, Layout& layout) {
  std::uint32_t r, g, b;
  if (layout.compression == kBitfields) {
    r = in.U32(kMasksOffset);
    g = in.U32(kMasksOffset + 4);
    b = in.U32(kMasksOffset + 8);
  } else if (layout.bitCount == 16) {
    r = 0x7C00, g = 0x03E0, b = 0x001F;
  } else {
    r = 0xFF0000, g = 0xFF00, b = 0xFF;
  }
  if ((r & g) || (r & b) || (g & b))
    throw BrokenPicture("the BMP colour masks are invalid");
  layout.red = MakeMask(r, layout.bitCount);
  layout.green = MakeMask(g, layout.bitCount);
  layout.blue = MakeMask(b, layout.bitCount);
}

void CheckDepth(const Layout& layout, bool core) {
  const int bits = layout.bitCount;
  bool ok = false;
  switch (layout.compression) {
    case kRgb:
      ok = bits == 1 || bits == 4 || bits == 8 || bits == 24 ||
           (!core && (bits == 16 || bits == 32));
      break;
    case kRle8:
      ok = bits == 8;
      break;
    case kRle4:
      ok = bits == 4;
      break;
    case kBitfields:
      ok = bits == 16 || bits == 32;
      break;
  }
  if (!ok) {
    throw BrokenPicture("the BMP header is damaged (" + std::to_string(bits) +
                        " bits per pixel with compression " + std::to_string(layout.compression) +
                        ")");
  }
}

Compression CheckCompression(std::uint32_t compression) {
  switch (compression) {
    case kRgb:
    case kRle8:
    case kRle4:
    case kBitfields:
      return Compression(compression);
    case 4:
      throw BrokenPicture("the BMP holds JPEG data, which is not supported");
    case 5:
      throw BrokenPicture("the BMP holds PNG data, which is not supported");
    default:
      throw BrokenPicture("the BMP uses an unknown compression (" + std::to_string(compression) +
                          ")");
  }
}

}  // namespace

Layout ReadLayout(std::span<const std::uint8_t> data) {
  const LittleEndian in(data);
  Layout layout;
  const std::uint32_t offBits = in.U32(10);
  const std::uint32_t headerSize = in.U32(14);
  const bool core = headerSize == 12;
  if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
      headerSize != 124) {
    throw BrokenPicture("the BMP header has an unsupported size (" + std::to_string(headerSize) +
                        " bytes)");
  }
  std::int64_t width, height;
  std::uint32_t planes, colorsUsed = 0;
  if (core) {
    width = in.U16(18);
    height = in.U16(20);
    planes = in.U16(22);
    layout.bitCount = int(in.U16(24));
  } else {
    width = in.S32(18);
    height = in.S32(22);
    planes = in.U16(26);
    layout.bitCount = int(in.U16(28));
    layout.compression = CheckCompression(in.U32(30));
    colorsUsed = in.U32(46);
  }
  in.U32(kFileHeaderSize + headerSize - 4);  // the whole header is present
  if (planes != 1) {
    throw BrokenPicture("the BMP header is damaged (" + std::to_string(planes) + " colour planes)");
  }
  CheckDepth(layout, core);
  layout.topDown = height < 0;
  if (height < 0)
    height = -height;
  if (const std::string problem = PictureSizeProblem(width, height); !problem.empty()) {
    throw BrokenPicture(problem);
  }
  layout.width = int(width);
  layout.height = int(height);

  std::size_t tableStart = kFileHeaderSize + headerSize;
  if (layout.bitCount == 16 || layout.bitCount == 32) {
    ReadMasks(in, layout);
    if (headerSize == 40 && layout.compression == kBitfields)
      tableStart += 12;
  }
  if (layout.bitCount <= 8) {
    const std::uint32_t most = std::uint32_t(1) << layout.bitCount;
    const std::uint32_t count = colorsUsed == 0 || colorsUsed > most ? most : colorsUsed;
    const std::size_t entrySize = core ? 3 : 4;
    if (data.size() < tableStart || (data.size() - tableStart) / entrySize < count) {
      throw BrokenPicture("the BMP colour table is truncated");
    }
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint8_t* entry = data.data() + tableStart + i * entrySize;
      layout.palette[i] = {entry[0], entry[1], entry[2], 0};
    }
    layout.paletteSize = int(count);
  }
  if (offBits < kFileHeaderSize + headerSize) {
    throw BrokenPicture("the BMP header is damaged (the pixel data would start inside it)");
  }
  if (offBits >= data.size()) {
    throw BrokenPicture("the BMP file is truncated (its pixel data would start past its end)");
  }
  layout.pixelOffset = offBits;
  if (layout.compression == kRgb || layout.compression == kBitfields) {
    const std::uint64_t stride = (std::uint64_t(layout.width) * layout.bitCount + 31) / 32 * 4;
    if ((data.size() - offBits) / stride < std::uint64_t(layout.height)) {
      throw BrokenPicture("the BMP file is too short for its " + std::to_string(layout.width) +
                          " x " + std::to_string(layout.height) + " pixels (it is truncated)");
    }
  }
  return layout;
}

}  // namespace kelpra::bmp

namespace kelpra {

// 4 bytes a pixel: 32-bit pixels, or RLE with a run or a line end for every pixel.
std::uint64_t MostBmpBytes(std::span<const std::uint8_t> header) {
  try {
    const bmp::LittleEndian in(header);
    const bool core = in.U32(14) == 12;
    const std::int64_t width = core ? in.U16(18) : in.S32(18);
    const std::int64_t height = core ? in.U16(20) : in.S32(22);
    return MostBytesFor(width, height < 0 ? -height : height, 4);
  } catch (const BrokenPicture&) {
    return 0;
  }
}

}  // namespace kelpra
