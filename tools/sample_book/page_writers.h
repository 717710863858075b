// Writes the sample pages as JPEG, PNG and GIF with the libraries the viewer decodes with.
#pragma once

#include <filesystem>

#include "imaging/bitmap.h"

namespace kelpra::sample {

// Each takes a 24-bit bitmap and throws std::runtime_error naming the file when it fails.
void WriteJpeg(const TBitmap& bmp, const std::filesystem::path& file);
void WritePng(const TBitmap& bmp, const std::filesystem::path& file);
// The picture must hold at most 256 colours; they become the colour table exactly.
void WriteGif(const TBitmap& bmp, const std::filesystem::path& file);

}  // namespace kelpra::sample
