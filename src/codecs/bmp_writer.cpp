// The BMP writer: bottom-up BITMAPINFOHEADER files, 24-bit or 8-bit with 256 colours.
#include "codecs/bmp_writer.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>
#include <system_error>
#include <vector>

#include "codecs/picture_loader.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace kelpra {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

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

// Creates a new, unused file beside the target.
FileHandle CreateTemporary(const std::filesystem::path& target, std::filesystem::path& name) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = target;
    name += ".tmp" + std::to_string(random() % 1000000);
    // "x": fail rather than open a file that exists.
    if (FileHandle file{std::fopen(name.c_str(), "wbx")})
      return file;
    if (errno != EEXIST)
      break;
  }
  throw std::system_error(errno, std::generic_category());
}

bool WriteAll(std::FILE* file, const TBitmap& bmp, const std::vector<std::uint8_t>& headers) {
  if (std::fwrite(headers.data(), 1, headers.size(), file) != headers.size())
    return false;
  for (int y = bmp.Height() - 1; y >= 0; --y) {
    if (std::fwrite(bmp.ScanLine(y), 1, bmp.Stride(), file) != bmp.Stride())
      return false;
  }
  if (std::fflush(file) != 0)
    return false;
#ifndef _WIN32
  // On disk before the rename, so a crash cannot leave an empty file under the old name.
  if (fsync(fileno(file)) != 0)
    return false;
#endif
  return true;
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
  std::filesystem::path temporary;
  FileHandle file;
  try {
    file = CreateTemporary(fileName, temporary);
  } catch (const std::system_error& error) {
    throw PictureError(prefix + error.code().message());
  }
  const bool written = WriteAll(file.get(), bmp, headers);
  const int writeError = errno;
  const bool closed = std::fclose(file.release()) == 0;
  std::error_code error;
  if (!written || !closed) {
    error = std::error_code(writeError ? writeError : EIO, std::generic_category());
  } else {
    // Keep the permissions of the file being replaced.
    const auto old = std::filesystem::status(fileName, error);
    if (!error && std::filesystem::exists(old)) {
      std::filesystem::permissions(temporary, old.permissions(), error);
    }
    error.clear();
    std::filesystem::rename(temporary, fileName, error);
  }
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw PictureError(prefix + error.message());
  }
}

}  // namespace kelpra
