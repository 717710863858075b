// Writes a bitmap as a BMP file: 24-bit, or 8-bit with its colour table.
#pragma once

#include <filesystem>

#include "imaging/bitmap.h"

namespace kelpra {

// Writes through a temporary file in the same folder and renames it over the target, so a
// failed write never destroys an existing file; a symbolic link is written through, and a
// target the user may not write is refused (FileReplacer). Throws PictureError with the reason.
void SaveBmp(const TBitmap& bmp, const std::filesystem::path& fileName);

}  // namespace kelpra
