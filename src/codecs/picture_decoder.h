// The interface every format's decoder implements, and the checks they share.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "imaging/bitmap.h"

namespace kelpra {

// A decoder either does not recognise the data (the next one may), or recognises it and then
// decodes it or says, in the user's words, what is wrong with it.
struct DecodeResult {
  enum class Status { kDecoded, kNotThisFormat, kBroken };
  Status status = Status::kNotThisFormat;
  std::string problem;  // for kBroken, e.g. "the JPEG data is truncated"

  static DecodeResult Decoded() { return {Status::kDecoded, {}}; }
  static DecodeResult NotThisFormat() { return {Status::kNotThisFormat, {}}; }
  static DecodeResult Broken(std::string problem) { return {Status::kBroken, std::move(problem)}; }
};

// Decodes a whole file held in memory into out (24-bit, or 8-bit with its colour table). Throws
// only std::bad_alloc; every other failure is a result.
using DecodeFunction = DecodeResult (*)(std::span<const std::uint8_t> data, TBitmap& out);

// True when data starts with the format's signature.
using SignatureFunction = bool (*)(std::span<const std::uint8_t> data);

// The most bytes a file of the format that starts with header (the first kHeaderBytes of a
// longer file) can need: LoadFile reads no more. 0 when the header alone shows the picture
// cannot be decoded.
using MostBytesFunction = std::uint64_t (*)(std::span<const std::uint8_t> header);

struct PictureDecoder {
  const char* name;
  SignatureFunction hasSignature;
  MostBytesFunction mostBytes;
  DecodeFunction decode;
};

bool HasBmpSignature(std::span<const std::uint8_t> data);
bool HasJpegSignature(std::span<const std::uint8_t> data);
bool HasGifSignature(std::span<const std::uint8_t> data);
bool HasPngSignature(std::span<const std::uint8_t> data);

std::uint64_t MostBmpBytes(std::span<const std::uint8_t> header);
std::uint64_t MostJpegBytes(std::span<const std::uint8_t> header);
std::uint64_t MostGifBytes(std::span<const std::uint8_t> header);
std::uint64_t MostPngBytes(std::span<const std::uint8_t> header);

DecodeResult DecodeBmp(std::span<const std::uint8_t> data, TBitmap& out);
DecodeResult DecodeJpeg(std::span<const std::uint8_t> data, TBitmap& out);
DecodeResult DecodeGif(std::span<const std::uint8_t> data, TBitmap& out);
DecodeResult DecodePng(std::span<const std::uint8_t> data, TBitmap& out);

// The trial order of LoadFile.
inline constexpr std::array<PictureDecoder, 4> kPictureDecoders{{
    {"BMP", HasBmpSignature, MostBmpBytes, DecodeBmp},
    {"JPEG", HasJpegSignature, MostJpegBytes, DecodeJpeg},
    {"GIF", HasGifSignature, MostGifBytes, DecodeGif},
    {"PNG", HasPngSignature, MostPngBytes, DecodePng},
}};

// What LoadFile reads of a file before it looks for a signature.
inline constexpr std::size_t kHeaderBytes = 64 << 10;

// Room for what a file holds besides its pixels: headers, colour profiles, text.
inline constexpr std::uint64_t kMetadataBytes = 16 << 20;

// The most bytes a picture of width x height can need at bytesPerPixel, with its metadata; 0
// for a size that will be refused.
std::uint64_t MostBytesFor(std::int64_t width, std::int64_t height, std::uint64_t bytesPerPixel);
// The same for the largest picture allowed, for formats whose size may lie past the header.
std::uint64_t MostBytesForAnySize(std::uint64_t bytesPerPixel);

// Empty when a picture of this size may be decoded; else the problem, for DecodeResult::Broken.
// Called before anything of the picture's size is allocated.
std::string PictureSizeProblem(std::int64_t width, std::int64_t height);

// Thrown inside a decoder's own C++ code (never through a C library's frames) and turned into
// DecodeResult::Broken at the decoder's entry.
class BrokenPicture : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kelpra
