// The BMP writer: bottom-up BITMAPINFOHEADER files, 24-bit or 8-bit with 256 colours.
#include "codecs/bmp_writer.h"

#include <stdexcept>
#include <vector>

#include "codecs/file_replacer.h"
#include "codecs/picture_loader.h"

namespace kelpra {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(std::uint8_t(value));
  out.push_back(std::uint8_t(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

std::vector<std::uint8_t> Headers(const TBitmap& bmp) {
  const bool indexed = bmp.PixelFormat() == pf8bit;
  const std::uint32_t tableSize = indexed ? 256 * 4 : 0;
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize + tableSize;
  const std::uint64_t imageSize = std::uint64_t(bmp.Stride()) * std::uint64_t(bmp.Height());
  if (imageSize > 0xFFFFFFFFu - offset)
    throw std::length_error("too large for a BMP file");
  std::vector<std::uint8_t> out;
  out.reserve(offset);
  Put16(out, 0x4D42);  // "BM"
  Put32(out, offset + std::uint32_t(imageSize));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, kInfoHeaderSize);
  Put32(out, std::uint32_t(bmp.Width()));
  Put32(out, std::uint32_t(bmp.Height()));  // positive: bottom-up
  Put16(out, 1);
  Put16(out, indexed ? 8 : 24);
  Put32(out, 0);  // BI_RGB
  Put32(out, std::uint32_t(imageSize));
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, indexed ? 256 : 0);
  Put32(out, 0);
  if (indexed) {
    for (const TRGBQuad& entry : bmp.Palette()) {
      out.insert(out.end(), {entry.rgbBlue, entry.rgbGreen, entry.rgbRed, 0});
    }
  }
  return out;
}

}  // namespace

void SaveBmp(const TBitmap& bmp, const std::filesystem::path& fileName) {
  const std::string prefix = "Cannot save \"" + fileName.filename().string() + "\": ";
  std::vector<std::uint8_t> headers;
  try {
    headers = Headers(bmp);
  } catch (const std::length_error&) {
    throw PictureError(prefix + "the picture is too large for a BMP file");
  }
  try {
    FileReplacer file(fileName);
    file.Write(headers.data(), headers.size());
    for (int y = bmp.Height() - 1; y >= 0; --y)
      file.Write(bmp.ScanLine(y), bmp.Stride());
    file.Commit();
  } catch (const FileWriteError& error) {
    throw PictureError(prefix + error.what());
  }
}

}  // namespace kelpra
