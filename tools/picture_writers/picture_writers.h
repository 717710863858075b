// Writes bitmaps as PNG, JPEG and GIF through the libraries the viewer decodes with: for the
// sample book and the tests' fixtures. 8-bit bitmaps are written through their colour table.
#pragma once

#include <filesystem>

#include "imaging/bitmap.h"

namespace kelpra {

// Each throws std::runtime_error naming the file when it cannot be written.
void WritePng(const TBitmap& bmp, const std::filesystem::path& file);
void WriteJpeg(const TBitmap& bmp, const std::filesystem::path& file, int quality = 90);
// Exact when the picture has at most 256 colours, else quantised to a 6x7x6 colour cube.
void WriteGif(const TBitmap& bmp, const std::filesystem::path& file);

}  // namespace kelpra
