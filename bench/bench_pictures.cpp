#include "bench_pictures.h"

#include <cmath>
#include <random>

#include "support/test_pictures.h"

namespace kelpra::bench {

namespace {

std::uint8_t Clamp(double v) {
  return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

void Put(TBitmap& bmp, int x, int y, double r, double g, double b) {
  std::uint8_t* p = bmp.ScanLine(y) + 3 * x;
  p[0] = Clamp(b);
  p[1] = Clamp(g);
  p[2] = Clamp(r);
}

}  // namespace

TBitmap MakeScanPage(int width, int height, unsigned seed) {
  TBitmap page(width, height);
  std::mt19937 rng(seed);
  std::normal_distribution<double> grain(0, 3);
  const int pictureBottom = height * 2 / 5;
  // Words: dark runs on text lines of 60 pixels, with gaps between words.
  std::uniform_int_distribution<int> wordLength(40, 260);
  std::vector<std::uint8_t> ink(std::size_t(width) * height, 0);
  for (int line = pictureBottom + 120; line + 40 < height - 150; line += 60) {
    for (int x = 200; x < width - 200;) {
      const int end = std::min(x + wordLength(rng), width - 200);
      for (int y = line; y < line + 36; ++y) {
        for (int i = x; i < end; ++i)
          ink[std::size_t(y) * width + i] = ((i / 7 + y / 5) % 3) != 0;
      }
      x = end + 30;
    }
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double paper = 236 - 12.0 * x / width - 8.0 * y / height + grain(rng);
      if (y >= 150 && y < pictureBottom && x >= 200 && x < width - 200) {
        const double u = double(x) / width;
        const double v = double(y) / height;
        Put(page, x, y, 128 + 90 * std::sin(9 * u + 4 * v) + grain(rng) * 4,
            110 + 80 * std::cos(7 * v - 3 * u) + grain(rng) * 4,
            100 + 70 * std::sin(13 * u * v + 2) + grain(rng) * 4);
      } else if (ink[std::size_t(y) * width + x]) {
        Put(page, x, y, 30 + grain(rng), 28 + grain(rng), 32 + grain(rng));
      } else {
        Put(page, x, y, paper, paper - 3, paper - 10);
      }
    }
  }
  return page;
}

FitSize FitToWindow(int width, int height) {
  const double rw = double(kWindowWidth) / width;
  const double rh = double(kWindowHeight) / height;
  const double r = rh > rw ? rw : rh;
  return {int(width * r), int(height * r)};
}

std::vector<PictureFile> WriteEveryFormat(const TBitmap& bmp, const std::filesystem::path& folder,
                                          const std::string& stem) {
  std::vector<PictureFile> files;
  for (const char* format : {"jpg", "png", "gif", "bmp"}) {
    const std::filesystem::path path = folder / (stem + "." + format);
    test::WritePicture(bmp, path);
    files.push_back({format, path});
  }
  return files;
}

}  // namespace kelpra::bench
