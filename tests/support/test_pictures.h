// Pictures made in code for the tests, and files written from them with the real libraries.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/bitmap.h"
#include "picture_writers/picture_writers.h"

namespace kelpra::test {

// A 24-bit picture whose every pixel differs from its neighbours, the same for the same seed.
TBitmap MakePicture(int width, int height, std::uint32_t seed = 1);

// A 24-bit picture of one colour (0x00BBGGRR).
TBitmap MakeUniform(int width, int height, TColor color);

// Writers for fixtures; each throws std::runtime_error when the file cannot be written.
// 8-bit bitmaps are written through their colour table.
using kelpra::WriteGif;
using kelpra::WriteJpeg;
using kelpra::WritePng;
// 24-bit bottom-up BMP, written by this helper itself (independent of the product's writer).
void WriteBmp(const TBitmap& bmp, const std::filesystem::path& file);
// Chooses the format by the extension (.png, .jpg/.jpeg, .gif, .bmp; case ignored).
void WritePicture(const TBitmap& bmp, const std::filesystem::path& file);

// Writes raw bytes (hand-made or damaged files).
void WriteBytes(const std::vector<std::uint8_t>& bytes, const std::filesystem::path& file);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);

// A fresh folder under the system's temporary folder, removed with its contents at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Empty when both bitmaps have the same size, format and pixels (and colour table for 8-bit);
// else names the first difference with its coordinates and both values.
std::string BitmapDiff(const TBitmap& expected, const TBitmap& actual);

}  // namespace kelpra::test
