// The raster image every picture operation works on: 24-bit (blue, green, red) or 8-bit with a
// 256-entry colour table. Rows are stored top-down, each padded to a multiple of 4 bytes, so the
// UI can wrap them in a QImage without copying.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/pixel_memory.h"

namespace kelpra {

enum TPixelFormat { pf24bit, pf8bit };

// 0x00BBGGRR; a value with the high byte 0xFF names a system colour by its index.
using TColor = std::uint32_t;

constexpr TColor clBtnShadow = 0xFF000010;  // system colour 16, the button-shadow colour
constexpr TColor clNone = 0xFFFFFFFF;       // the invalid colour, all bits set

// Resolves a system colour to its RGB value (Windows' default scheme: Kelpra draws the same
// bytes on every desktop); a plain colour is returned unchanged.
TColor ColorToRGB(TColor color);

constexpr std::uint8_t GetRValue(TColor c) {
  return c & 0xFF;
}
constexpr std::uint8_t GetGValue(TColor c) {
  return (c >> 8) & 0xFF;
}
constexpr std::uint8_t GetBValue(TColor c) {
  return (c >> 16) & 0xFF;
}
constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

struct TRGBTriple {
  std::uint8_t rgbtBlue;
  std::uint8_t rgbtGreen;
  std::uint8_t rgbtRed;
};
static_assert(sizeof(TRGBTriple) == 3);

struct TRGBQuad {
  std::uint8_t rgbBlue = 0;
  std::uint8_t rgbGreen = 0;
  std::uint8_t rgbRed = 0;
  std::uint8_t rgbReserved = 0;
};

using TPalette = std::array<TRGBQuad, 256>;

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height, TPixelFormat format = pf24bit);
  // A bitmap whose pixels start as whatever memory it reuses held: only for a caller that
  // writes every pixel of every row before anything reads them. The row padding is zeroed.
  static TBitmap ToBeOverwritten(int width, int height, TPixelFormat format = pf24bit);
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;
  ~TBitmap();

  int Width() const { return width_; }
  int Height() const { return height_; }
  TPixelFormat PixelFormat() const { return format_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Bytes from one row to the next; rows are contiguous, top row first.
  std::size_t Stride() const { return stride_; }
  std::uint8_t* ScanLine(int y) { return pixels_.get() + std::size_t(y) * stride_; }
  const std::uint8_t* ScanLine(int y) const { return pixels_.get() + std::size_t(y) * stride_; }

  // Changes the size, keeping the pixels of the area both sizes share; new pixels are black.
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }

  // Converts the pixels: 8-bit to 24-bit through the colour table; 24-bit to 8-bit by the
  // nearest entry of the current table.
  void SetPixelFormat(TPixelFormat format);

  TPalette& Palette() { return palette_; }
  const TPalette& Palette() const { return palette_; }

  // Copies size, format, colour table and pixels into this same object.
  void Assign(const TBitmap& source);
  // The same from a working bitmap that is no longer needed: where this bitmap's storage would
  // be replaced anyway (another size or format), it takes over the source's instead of copying.
  void Assign(TBitmap&& source);

  // The drawing surface: brush, rectangle fill, drawing another bitmap at a point and the
  // stretching rectangle copy. 24-bit targets only; an 8-bit source is drawn through its table.
  TColor BrushColor = 0x00FFFFFF;
  void FillRect(const TRect& rect);
  void Draw(int x, int y, const TBitmap& source);
  void StretchCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect);

 private:
  void Allocate(int width, int height, TPixelFormat format, PixelStart start = PixelStart::kZeroed);
  struct FreeDeleter {
    void operator()(std::uint8_t* p) const;
  };

  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = pf24bit;
  std::size_t stride_ = 0;
  std::unique_ptr<std::uint8_t[], FreeDeleter> pixels_;
  TPalette palette_{};
};

// Bytes per row for a width and format: padded to a multiple of 4.
std::size_t RowStride(int width, TPixelFormat format);

}  // namespace kelpra
