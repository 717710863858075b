// Turns a picture file into a 24-bit bitmap, whatever its extension says.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>

#include "imaging/bitmap.h"

namespace kelpra {

// A picture that cannot be read: its message says why, as the user will see it.
class PictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The largest picture Kelpra decodes; larger ones are refused before anything is allocated.
constexpr int kMaxPictureSide = 65535;
constexpr std::int64_t kMaxPicturePixels = std::int64_t(1) << 28;  // 268 megapixels

// Tries BMP, JPEG, GIF and PNG in this order and leaves bmp 24-bit at the picture's own size.
// Throws PictureError when no decoder can read the file.
void LoadFile(const std::filesystem::path& fileName, TBitmap& bmp);

// LoadFile's decoding of a file already read into memory; displayName names the file in messages.
void DecodePicture(std::span<const std::uint8_t> data, const std::string& displayName,
                   TBitmap& bmp);

// True when the picture is wider than tall. Throws as LoadFile does.
bool IsLandscape(const std::filesystem::path& fileName);

}  // namespace kelpra
