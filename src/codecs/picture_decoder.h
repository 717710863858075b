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

struct PictureDecoder {
  const char* name;
  DecodeFunction decode;
};

DecodeResult DecodeBmp(std::span<const std::uint8_t> data, TBitmap& out);
DecodeResult DecodeJpeg(std::span<const std::uint8_t> data, TBitmap& out);
DecodeResult DecodeGif(std::span<const std::uint8_t> data, TBitmap& out);
DecodeResult DecodePng(std::span<const std::uint8_t> data, TBitmap& out);

// The trial order of LoadFile.
inline constexpr std::array<PictureDecoder, 4> kPictureDecoders{{
    {"BMP", DecodeBmp},
    {"JPEG", DecodeJpeg},
    {"GIF", DecodeGif},
    {"PNG", DecodePng},
}};

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
