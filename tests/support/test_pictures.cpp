#include "support/test_pictures.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace kelpra::test {

namespace {

// A small integer hash (lowbias32): neighbouring inputs give unrelated outputs.
std::uint32_t Mix(std::uint32_t v) {
  v ^= v >> 16;
  v *= 0x7FEB352Du;
  v ^= v >> 15;
  v *= 0x846CA68Bu;
  v ^= v >> 16;
  return v;
}

std::uint8_t Channel(int gradient, std::uint32_t noise) {
  return std::uint8_t(std::clamp(gradient + int(noise & 0x3F) - 32, 0, 255));
}

std::string Lower(std::string text) {
  for (char& c : text)
    c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string PixelText(const TBitmap& bmp, int x, int y) {
  std::ostringstream out;
  const std::uint8_t* row = bmp.ScanLine(y);
  if (bmp.PixelFormat() == pf8bit) {
    out << "index " << int(row[x]);
  } else {
    out << "(B " << int(row[3 * x]) << ", G " << int(row[3 * x + 1]) << ", R "
        << int(row[3 * x + 2]) << ")";
  }
  return out.str();
}

}  // namespace

TBitmap MakePicture(int width, int height, std::uint32_t seed) {
  TBitmap bmp(width, height, pf24bit);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bmp.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t h = Mix(seed * 0x9E3779B9u ^ Mix(std::uint32_t(y) * 65599u + x));
      const int gx = width > 1 ? x * 255 / (width - 1) : 128;
      const int gy = height > 1 ? y * 255 / (height - 1) : 128;
      row[3 * x] = Channel(gx, h);
      row[3 * x + 1] = Channel(gy, h >> 8);
      row[3 * x + 2] = Channel((gx + gy) / 2, h >> 16);
    }
  }
  return bmp;
}

TBitmap MakeUniform(int width, int height, TColor color) {
  TBitmap bmp(width, height, pf24bit);
  bmp.BrushColor = color;
  bmp.FillRect({0, 0, width, height});
  return bmp;
}

void WriteBytes(const std::vector<std::uint8_t>& bytes, const std::filesystem::path& file) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out.flush())
    throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot read " + file.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBmp(const TBitmap& source, const std::filesystem::path& file) {
  TBitmap bmp(source);
  bmp.SetPixelFormat(pf24bit);
  const std::uint32_t stride = std::uint32_t(RowStride(bmp.Width(), pf24bit));
  const std::uint32_t imageSize = stride * std::uint32_t(bmp.Height());
  std::vector<std::uint8_t> bytes;
  auto put16 = [&](std::uint32_t v) {
    bytes.push_back(std::uint8_t(v));
    bytes.push_back(std::uint8_t(v >> 8));
  };
  auto put32 = [&](std::uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  put16(0x4D42);  // "BM"
  put32(54 + imageSize);
  put32(0);
  put32(54);
  put32(40);
  put32(std::uint32_t(bmp.Width()));
  put32(std::uint32_t(bmp.Height()));
  put16(1);
  put16(24);
  put32(0);  // BI_RGB
  put32(imageSize);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  for (int y = bmp.Height() - 1; y >= 0; --y) {
    bytes.insert(bytes.end(), bmp.ScanLine(y), bmp.ScanLine(y) + stride);
  }
  WriteBytes(bytes, file);
}

void WritePicture(const TBitmap& bmp, const std::filesystem::path& file) {
  const std::string ext = Lower(file.extension().string());
  if (ext == ".png") {
    WritePng(bmp, file);
  } else if (ext == ".jpg" || ext == ".jpeg") {
    WriteJpeg(bmp, file);
  } else if (ext == ".gif") {
    WriteGif(bmp, file);
  } else if (ext == ".bmp") {
    WriteBmp(bmp, file);
  } else {
    throw std::runtime_error("no picture format for " + file.string());
  }
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kelpra-test-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Make everything writable again first: tests may take permissions away.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(path_, ignored);
}

std::string BitmapDiff(const TBitmap& expected, const TBitmap& actual) {
  std::ostringstream out;
  if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
    out << "size: expected " << expected.Width() << "x" << expected.Height() << ", actual "
        << actual.Width() << "x" << actual.Height();
    return out.str();
  }
  if (expected.PixelFormat() != actual.PixelFormat()) {
    out << "pixel format: expected " << (expected.PixelFormat() == pf24bit ? "24" : "8")
        << "-bit, actual " << (actual.PixelFormat() == pf24bit ? "24" : "8") << "-bit";
    return out.str();
  }
  const int bytesPerPixel = expected.PixelFormat() == pf24bit ? 3 : 1;
  for (int y = 0; y < expected.Height(); ++y) {
    const std::uint8_t* e = expected.ScanLine(y);
    const std::uint8_t* a = actual.ScanLine(y);
    for (int x = 0; x < expected.Width(); ++x) {
      if (!std::equal(e + bytesPerPixel * x, e + bytesPerPixel * (x + 1), a + bytesPerPixel * x)) {
        out << "pixel (" << x << ", " << y << "): expected " << PixelText(expected, x, y)
            << ", actual " << PixelText(actual, x, y);
        return out.str();
      }
    }
  }
  if (expected.PixelFormat() == pf8bit) {
    for (int i = 0; i < 256; ++i) {
      const TRGBQuad& e = expected.Palette()[i];
      const TRGBQuad& a = actual.Palette()[i];
      if (e.rgbBlue != a.rgbBlue || e.rgbGreen != a.rgbGreen || e.rgbRed != a.rgbRed) {
        out << "colour table entry " << i << " differs";
        return out.str();
      }
    }
  }
  return {};
}

}  // namespace kelpra::test
