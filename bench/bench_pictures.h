// The pictures the benchmarks work on: a scanned book page and a spread of two, made in code.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/bitmap.h"

namespace kelpra::bench {

constexpr int kPageWidth = 2480;  // A4 at 300 dpi
constexpr int kPageHeight = 3508;
constexpr int kWindowWidth = 1920;
constexpr int kWindowHeight = 1080;

// A page: paper tone with a soft gradient, a photograph-like illustration and lines of text.
TBitmap MakeScanPage(int width, int height, unsigned seed);

struct FitSize {
  int width;
  int height;
};
// The window's fit: the smaller ratio, both sides truncated.
FitSize FitToWindow(int width, int height);

struct PictureFile {
  std::string format;  // "jpg", "png", "gif", "bmp"
  std::filesystem::path path;
};

struct BenchPicture {
  std::string name;  // "page", "spread"
  TBitmap bitmap;
  std::vector<PictureFile> files;
};

// Writes the picture in every format into folder.
std::vector<PictureFile> WriteEveryFormat(const TBitmap& bmp, const std::filesystem::path& folder,
                                          const std::string& stem);

}  // namespace kelpra::bench
