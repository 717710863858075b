#include "codecs/picture_loader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <vector>

#include "codecs/picture_decoder.h"

namespace kelpra {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string Quoted(const std::filesystem::path& fileName) {
  return "\"" + fileName.filename().string() + "\"";
}

[[noreturn]] void ThrowOpenError(const std::filesystem::path& fileName, int error) {
  throw PictureError("Cannot open picture " + Quoted(fileName) + ": " +
                     std::generic_category().message(error));
}

// Appends up to count more bytes of file to bytes.
void ReadMore(std::FILE* file, std::uint64_t count, std::vector<std::uint8_t>& bytes) {
  std::uint8_t chunk[65536];
  while (count > 0) {
    const std::size_t wanted = std::size_t(std::min<std::uint64_t>(count, sizeof chunk));
    const std::size_t got = std::fread(chunk, 1, wanted, file);
    bytes.insert(bytes.end(), chunk, chunk + got);
    count -= got;
    if (got < wanted)
      break;
  }
}

// Reads the header, and then only as much more as the format its signature names can need: a
// file of another kind, however large, costs no more than its header.
std::vector<std::uint8_t> ReadPictureFile(const std::filesystem::path& fileName) {
  std::error_code status;
  const std::filesystem::file_status kind = std::filesystem::status(fileName, status);
  if (std::filesystem::is_directory(kind)) {
    throw PictureError("Cannot open picture " + Quoted(fileName) + ": it is a folder");
  }
  // A device or a pipe might never end, or never start.
  if (std::filesystem::exists(kind) && !std::filesystem::is_regular_file(kind)) {
    throw PictureError("Cannot open picture " + Quoted(fileName) + ": it is not a file");
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) {
    ThrowOpenError(fileName, errno);
  }
  std::vector<std::uint8_t> bytes;
  ReadMore(file.get(), kHeaderBytes, bytes);
  const auto decoder = std::find_if(kPictureDecoders.begin(), kPictureDecoders.end(),
                                    [&](const PictureDecoder& d) { return d.hasSignature(bytes); });
  if (bytes.size() == kHeaderBytes && decoder != kPictureDecoders.end()) {
    const std::uint64_t most = std::min<std::uint64_t>(decoder->mostBytes(bytes), PTRDIFF_MAX);
    if (most > bytes.size()) {
      const std::uintmax_t size = std::filesystem::file_size(fileName, status);
      if (!status)
        bytes.reserve(std::size_t(std::min<std::uint64_t>(size, most)));
      ReadMore(file.get(), most - bytes.size(), bytes);
    }
  }
  if (std::ferror(file.get()))
    ThrowOpenError(fileName, errno ? errno : EIO);
  return bytes;
}

void Decode(std::span<const std::uint8_t> data, const std::string& displayName, TBitmap& bmp) {
  const std::string prefix = "Cannot read picture \"" + displayName + "\": ";
  if (data.empty()) {
    throw PictureError(prefix + "the file is empty");
  }
  for (const PictureDecoder& decoder : kPictureDecoders) {
    TBitmap decoded;
    const DecodeResult result = decoder.decode(data, decoded);
    if (result.status == DecodeResult::Status::kNotThisFormat) {
      continue;
    }
    if (result.status == DecodeResult::Status::kBroken) {
      throw PictureError(prefix + result.problem);
    }
    decoded.SetPixelFormat(pf24bit);
    bmp = std::move(decoded);
    return;
  }
  throw PictureError(prefix + "it is not a BMP, JPEG, GIF or PNG picture");
}

// The error for when even a message finds no memory: made at the first load, and thrown as a
// copy, which allocates nothing.
const PictureError& NoMemoryError() {
  static const PictureError error("Cannot read the picture: there is not enough memory");
  return error;
}

// Runs work, turning any allocation failure into a PictureError that names the file. That error
// is made before the work, so that throwing it needs no memory once memory has run out.
template <typename Work>
void GuardMemory(const std::string& displayName, Work work) {
  const PictureError& lastResort = NoMemoryError();
  std::optional<PictureError> noMemory;
  try {
    noMemory.emplace("Cannot read picture \"" + displayName +
                     "\": there is not enough memory to load it");
  } catch (const std::bad_alloc&) {
    throw lastResort;
  }
  try {
    work();
  } catch (const std::bad_alloc&) {
    throw *noMemory;
  }
}

}  // namespace

std::string PictureSizeProblem(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) {
    return "the picture's size " + std::to_string(width) + " x " + std::to_string(height) +
           " is invalid";
  }
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
    return "the picture is too large (" + std::to_string(width) + " x " + std::to_string(height) +
           " pixels; at most " + std::to_string(kMaxPictureSide) + " per side and " +
           std::to_string(kMaxPicturePixels) + " in all can be shown)";
  }
  return {};
}

std::uint64_t MostBytesFor(std::int64_t width, std::int64_t height, std::uint64_t bytesPerPixel) {
  if (!PictureSizeProblem(width, height).empty())
    return 0;
  return std::uint64_t(width) * std::uint64_t(height) * bytesPerPixel + kMetadataBytes;
}

std::uint64_t MostBytesForAnySize(std::uint64_t bytesPerPixel) {
  return std::uint64_t(kMaxPicturePixels) * bytesPerPixel + kMetadataBytes;
}

void DecodePicture(std::span<const std::uint8_t> data, const std::string& displayName,
                   TBitmap& bmp) {
  GuardMemory(displayName, [&] { Decode(data, displayName, bmp); });
}

void LoadFile(const std::filesystem::path& fileName, TBitmap& bmp) {
  std::string name;
  try {
    name = fileName.filename().string();
  } catch (const std::bad_alloc&) {
    throw NoMemoryError();
  }
  GuardMemory(name, [&] { Decode(ReadPictureFile(fileName), name, bmp); });
}

bool IsLandscape(const std::filesystem::path& fileName) {
  TBitmap bmp;
  LoadFile(fileName, bmp);
  return bmp.Width() > bmp.Height();
}

}  // namespace kelpra
