#include "imaging/bitmap.h"

#include "imaging/pixel_memory.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace kelpra {

namespace {

// Windows' default values of the system colours that Kelpra names (indices as in GetSysColor).
TColor DefaultSystemColor(unsigned index) {
  switch (index) {
    case 1:  // COLOR_BACKGROUND
      return RGB(0, 0, 0);
    case 5:  // COLOR_WINDOW
      return RGB(255, 255, 255);
    case 8:  // COLOR_WINDOWTEXT
      return RGB(0, 0, 0);
    case 15:  // COLOR_BTNFACE
      return RGB(240, 240, 240);
    case 16:  // COLOR_BTNSHADOW
      return RGB(160, 160, 160);
    case 20:  // COLOR_BTNHIGHLIGHT
      return RGB(255, 255, 255);
    default:
      return RGB(0, 0, 0);
  }
}

}  // namespace

TColor ColorToRGB(TColor color) {
  if ((color & 0xFF000000u) == 0xFF000000u)
    return DefaultSystemColor(color & 0xFFu);
  return color & 0x00FFFFFFu;
}

std::size_t RowStride(int width, TPixelFormat format) {
  const std::size_t bytes = std::size_t(width) * (format == pf24bit ? 3 : 1);
  return (bytes + 3) & ~std::size_t(3);
}

void TBitmap::FreeDeleter::operator()(std::uint8_t* p) const {
  FreePixels(p);
}

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
  Allocate(width, height, format);
}

TBitmap TBitmap::ToBeOverwritten(int width, int height, TPixelFormat format) {
  TBitmap bmp;
  bmp.Allocate(width, height, format, PixelStart::kUnwritten);
  const std::size_t used = std::size_t(width) * (format == pf24bit ? 3 : 1);
  if (bmp.pixels_ && used < bmp.stride_) {
    for (int y = 0; y < height; ++y)
      std::memset(bmp.ScanLine(y) + used, 0, bmp.stride_ - used);
  }
  return bmp;
}

TBitmap::TBitmap(const TBitmap& other) {
  Assign(other);
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
  Assign(other);
  return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept
    : BrushColor(other.BrushColor),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      format_(other.format_),
      stride_(std::exchange(other.stride_, 0)),
      pixels_(std::move(other.pixels_)),
      palette_(other.palette_) {}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this != &other) {
    BrushColor = other.BrushColor;
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    format_ = other.format_;
    stride_ = std::exchange(other.stride_, 0);
    pixels_ = std::move(other.pixels_);
    palette_ = other.palette_;
  }
  return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::Allocate(int width, int height, TPixelFormat format, PixelStart start) {
  if (width < 0 || height < 0)
    throw std::bad_alloc();
  const std::size_t stride = RowStride(width, format);
  std::unique_ptr<std::uint8_t[], FreeDeleter> pixels;
  if (width > 0 && height > 0) {
    if (stride > SIZE_MAX / std::size_t(height))
      throw std::bad_alloc();
    pixels.reset(AllocatePixels(stride * std::size_t(height), start));
  }
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
  format_ = format;
  stride_ = stride;
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_)
    return;
  TBitmap resized(width, height, format_);
  resized.palette_ = palette_;
  const std::size_t bytes = std::min(resized.stride_, stride_);
  // With a width of 0 on either side there is no storage to copy from or to.
  const int rows = bytes == 0 ? 0 : std::min(height, height_);
  for (int y = 0; y < rows; ++y)
    std::memcpy(resized.ScanLine(y), ScanLine(y), bytes);
  const TColor brush = BrushColor;
  *this = std::move(resized);
  BrushColor = brush;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_)
    return;
  TBitmap converted(width_, height_, format);
  converted.palette_ = palette_;
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* src = ScanLine(y);
    std::uint8_t* dst = converted.ScanLine(y);
    if (format == pf24bit) {
      for (int x = 0; x < width_; ++x) {
        const TRGBQuad& entry = palette_[src[x]];
        dst[3 * x] = entry.rgbBlue;
        dst[3 * x + 1] = entry.rgbGreen;
        dst[3 * x + 2] = entry.rgbRed;
      }
    } else {
      for (int x = 0; x < width_; ++x) {
        int best = 0;
        int bestDistance = 1 << 30;
        for (int i = 0; i < 256 && bestDistance > 0; ++i) {
          const int db = int(palette_[i].rgbBlue) - src[3 * x];
          const int dg = int(palette_[i].rgbGreen) - src[3 * x + 1];
          const int dr = int(palette_[i].rgbRed) - src[3 * x + 2];
          const int distance = db * db + dg * dg + dr * dr;
          if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
          }
        }
        dst[x] = std::uint8_t(best);
      }
    }
  }
  const TColor brush = BrushColor;
  *this = std::move(converted);
  BrushColor = brush;
}

void TBitmap::Assign(const TBitmap& source) {
  if (this == &source)
    return;
  if (width_ != source.width_ || height_ != source.height_ || format_ != source.format_ ||
      !pixels_) {
    // Every byte, padding included, is copied over at once.
    Allocate(source.width_, source.height_, source.format_, PixelStart::kUnwritten);
  }
  if (pixels_)
    std::memcpy(pixels_.get(), source.pixels_.get(), stride_ * std::size_t(height_));
  palette_ = source.palette_;
}

void TBitmap::Assign(TBitmap&& source) {
  if (this == &source)
    return;
  if (pixels_ && width_ == source.width_ && height_ == source.height_ &&
      format_ == source.format_) {
    Assign(static_cast<const TBitmap&>(source));
    return;
  }
  const TColor brush = BrushColor;
  *this = std::move(source);
  BrushColor = brush;
}

void TBitmap::FillRect(const TRect& rect) {
  const int left = std::max(rect.Left, 0);
  const int top = std::max(rect.Top, 0);
  const int right = std::min(rect.Right, width_);
  const int bottom = std::min(rect.Bottom, height_);
  if (left >= right || top >= bottom)
    return;
  const TColor color = ColorToRGB(BrushColor);
  if (format_ == pf8bit) {
    int best = 0;
    for (int i = 0; i < 256; ++i) {
      if (RGB(palette_[i].rgbRed, palette_[i].rgbGreen, palette_[i].rgbBlue) == color) {
        best = i;
        break;
      }
    }
    for (int y = top; y < bottom; ++y)
      std::memset(ScanLine(y) + left, best, right - left);
    return;
  }
  const std::uint8_t pixel[3] = {GetBValue(color), GetGValue(color), GetRValue(color)};
  std::uint8_t* first = ScanLine(top) + 3 * left;
  for (int x = 0; x < right - left; ++x)
    std::memcpy(first + 3 * x, pixel, 3);
  for (int y = top + 1; y < bottom; ++y) {
    std::memcpy(ScanLine(y) + 3 * left, first, 3 * std::size_t(right - left));
  }
}

void TBitmap::Draw(int x, int y, const TBitmap& source) {
  StretchCopy({x, y, x + source.Width(), y + source.Height()}, source,
              {0, 0, source.Width(), source.Height()});
}

// Nearest-neighbour stretch, the way a plain StretchBlt copies colour pictures: destination
// column dx reads source column sourceRect.Left + dx * sourceWidth / destWidth.
void TBitmap::StretchCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
  const int dw = dest.Width();
  const int dh = dest.Height();
  const int sw = sourceRect.Width();
  const int sh = sourceRect.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || format_ != pf24bit)
    return;
  for (int dy = std::max(0, -dest.Top); dy < dh && dest.Top + dy < height_; ++dy) {
    const int sy = sourceRect.Top + int(std::int64_t(dy) * sh / dh);
    if (sy < 0 || sy >= source.Height())
      continue;
    const std::uint8_t* src = source.ScanLine(sy);
    std::uint8_t* dst = ScanLine(dest.Top + dy);
    const int firstX = std::max(0, -dest.Left);
    const int lastX = std::min(dw, width_ - dest.Left);
    if (sw == dw && source.PixelFormat() == pf24bit && sourceRect.Left >= 0 &&
        sourceRect.Right <= source.Width()) {
      if (firstX < lastX) {
        std::memcpy(dst + 3 * std::size_t(dest.Left + firstX),
                    src + 3 * std::size_t(sourceRect.Left + firstX),
                    3 * std::size_t(lastX - firstX));
      }
      continue;
    }
    for (int dx = firstX; dx < lastX; ++dx) {
      const int sx = sourceRect.Left + int(std::int64_t(dx) * sw / dw);
      if (sx < 0 || sx >= source.Width())
        continue;
      std::uint8_t* out = dst + 3 * std::size_t(dest.Left + dx);
      if (source.PixelFormat() == pf24bit) {
        std::memcpy(out, src + 3 * std::size_t(sx), 3);
      } else {
        const TRGBQuad& entry = source.Palette()[src[sx]];
        out[0] = entry.rgbBlue;
        out[1] = entry.rgbGreen;
        out[2] = entry.rgbRed;
      }
    }
  }
}

}  // namespace kelpra
