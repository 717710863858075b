#include "reference_ops.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/pixel_access.h"

namespace kelpra::reference {

namespace {

std::uint8_t ClampRound(double value) {
  if (value < 0)
    return 0;
  if (value > 255)
    return 255;
  return std::uint8_t(std::nearbyint(value));
}

std::uint8_t ClampInt(std::int64_t value) {
  if (value < 0)
    return 0;
  if (value > 255)
    return 255;
  return std::uint8_t(value);
}

}  // namespace

bool Rotate90(TBitmap& bmp, bool plus) {
  if (bmp.PixelFormat() != pf24bit)
    return false;
  const int w = bmp.Width();
  const int h = bmp.Height();
  auto copy = BmpClone(bmp);
  copy->SetWidth(h);
  copy->SetHeight(w);
  TBmpData24 src(bmp);
  TBmpData24 dst(*copy);
  for (int iy = 0; iy < h; ++iy) {
    for (int ix = 0; ix < w; ++ix) {
      if (plus) {
        *dst.Data(h - 1 - iy, ix) = *src.Data(ix, iy);
      } else {
        *dst.Data(iy, w - 1 - ix) = *src.Data(ix, iy);
      }
    }
  }
  bmp.Assign(*copy);
  return true;
}

bool Rotate180(TBitmap& bmp) {
  if (bmp.PixelFormat() != pf24bit)
    return false;
  const int w = bmp.Width();
  const int h = bmp.Height();
  auto copy = BmpClone(bmp);
  TBmpData24 src(bmp);
  TBmpData24 dst(*copy);
  for (int iy = 0; iy < h; ++iy) {
    for (int ix = 0; ix < w; ++ix)
      *dst.Data(w - 1 - ix, h - 1 - iy) = *src.Data(ix, iy);
  }
  bmp.Assign(*copy);
  return true;
}

bool SideBySide(TBitmap& bmpL, TBitmap& bmpR, TColor bkColor, int Split) {
  if (bmpL.PixelFormat() != pf24bit || bmpR.PixelFormat() != pf24bit)
    return false;
  const int W = bmpL.Width() + bmpR.Width();
  const int H = std::max(bmpL.Height(), bmpR.Height());
  TBitmap spread(W + Split + 2, H + 2);
  const TColor rgb = ColorToRGB(bkColor);
  const TRGBTriple background = {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)};
  TBmpData24 dst(spread);
  for (int y = 0; y < H + 2; ++y) {
    for (int x = 0; x < W + Split + 2; ++x)
      *dst.Data(x, y) = background;
  }
  TBmpData24 left(bmpL);
  for (int y = 0; y < bmpL.Height(); ++y) {
    for (int x = 0; x < bmpL.Width(); ++x)
      *dst.Data(1 + x, 1 + y) = *left.Data(x, y);
  }
  TBmpData24 right(bmpR);
  for (int y = 0; y < bmpR.Height(); ++y) {
    for (int x = 0; x < bmpR.Width(); ++x) {
      *dst.Data(bmpL.Width() + Split + 1 + x, 1 + y) = *right.Data(x, y);
    }
  }
  bmpL.Assign(spread);
  return true;
}

bool GrayScale(TBitmap& bmp) {
  if (bmp.PixelFormat() != pf24bit)
    return false;
  const int w = bmp.Width();
  const int h = bmp.Height();
  TBitmap gray(w, h, pf8bit);
  for (int i = 0; i < 256; ++i) {
    gray.Palette()[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
  }
  TBmpData24 src(bmp);
  TBmpData8 dst(gray);
  for (int iy = 0; iy < h; ++iy) {
    for (int ix = 0; ix < w; ++ix) {
      const TRGBTriple* p = src.Data(ix, iy);
      const double R = p->rgbtRed;
      const double G = p->rgbtGreen;
      const double B = p->rgbtBlue;
      *dst.Data(ix, iy) = std::uint8_t(std::trunc(((R * 0.299) + (G * 0.587)) + (B * 0.114)));
    }
  }
  bmp.Assign(gray);
  return true;
}

// percent * 255 in 64 bits, so that any int is accepted.
bool Brightness(TBitmap& bmp, int percent) {
  if (bmp.PixelFormat() != pf24bit)
    return false;
  const std::int64_t rr = std::int64_t(percent) * 255 / 100;
  TBmpData24 data(bmp);
  for (int iy = 0; iy < data.Height(); ++iy) {
    for (int ix = 0; ix < data.Width(); ++ix) {
      TRGBTriple* p = data.Data(ix, iy);
      p->rgbtRed = ClampInt(p->rgbtRed + rr);
      p->rgbtGreen = ClampInt(p->rgbtGreen + rr);
      p->rgbtBlue = ClampInt(p->rgbtBlue + rr);
    }
  }
  return true;
}

bool Contrast(TBitmap& bmp, int nContrast) {
  if (bmp.PixelFormat() != pf24bit || nContrast > 100 || nContrast < -100)
    return false;
  float value = float((nContrast + 100.0) / 100.0);
  value = float(double(value) * double(value));
  auto stretch = [&](std::uint8_t c) {
    return ClampRound(((c / 255.0 - 0.5) * double(value) + 0.5) * 255.0);
  };
  TBmpData24 data(bmp);
  for (int iy = 0; iy < data.Height(); ++iy) {
    for (int ix = 0; ix < data.Width(); ++ix) {
      TRGBTriple* p = data.Data(ix, iy);
      p->rgbtRed = stretch(p->rgbtRed);
      p->rgbtGreen = stretch(p->rgbtGreen);
      p->rgbtBlue = stretch(p->rgbtBlue);
    }
  }
  return true;
}

bool Sharpen(TBitmap& bmp, int percent) {
  if (percent < 0 || percent > 100 || bmp.PixelFormat() != pf24bit)
    return false;
  static constexpr int mask[3][3] = {{-1, -1, -1}, {-1, 8, -1}, {-1, -1, -1}};
  const double rate = percent / 100.0;
  const int w = bmp.Width();
  const int h = bmp.Height();
  auto copy = BmpClone(bmp);
  TBmpData24 src(*copy);
  TBmpData24 dst(bmp);
  for (int iy = 0; iy < h; ++iy) {
    for (int ix = 0; ix < w; ++ix) {
      int r = 0, g = 0, b = 0;
      for (int y = iy - 1; y <= iy + 1; ++y) {
        for (int x = ix - 1; x <= ix + 1; ++x) {
          const int row = (y < 0 || y > h - 1) ? iy : y;
          const int column = (x < 0 || x > w - 1) ? ix : x;
          const TRGBTriple* p = src.Data(column, row);
          const int m = mask[y - iy + 1][x - ix + 1];
          r += m * p->rgbtRed;
          g += m * p->rgbtGreen;
          b += m * p->rgbtBlue;
        }
      }
      TRGBTriple* q = dst.Data(ix, iy);
      q->rgbtRed = ClampRound(double(q->rgbtRed) + rate * double(r));
      q->rgbtGreen = ClampRound(double(q->rgbtGreen) + rate * double(g));
      q->rgbtBlue = ClampRound(double(q->rgbtBlue) + rate * double(b));
    }
  }
  return true;
}

bool GaussianBlur(TBitmap& bmp, int zone) {
  if (bmp.PixelFormat() != pf24bit || zone < 1 || zone > 30)
    return false;
  const int range = 3 * zone;
  std::vector<float> gf(range + 1);
  for (int i = 0; i <= range; ++i) {
    const int numerator = -(i * i);
    const int denominator = 2 * zone * zone;
    gf[i] = float(std::exp(double(numerator) / double(denominator)));
  }
  const int w = bmp.Width();
  const int h = bmp.Height();
  auto copy = BmpClone(bmp);
  TBmpData24 work(*copy);
  TBmpData24 data(bmp);
  auto add = [](float& sum, double value) { sum = float(double(sum) + value); };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float count = 0, sr = 0, sg = 0, sb = 0;
      for (int ix = x - range; ix <= x + range; ++ix) {
        if (ix < 0 || ix > w - 1)
          continue;
        const float gauss = gf[std::abs(ix - x)];
        const TRGBTriple* p = data.Data(ix, y);
        add(sr, double(p->rgbtRed) * double(gauss));
        add(sg, double(p->rgbtGreen) * double(gauss));
        add(sb, double(p->rgbtBlue) * double(gauss));
        add(count, double(gauss));
      }
      TRGBTriple* q = work.Data(x, y);
      q->rgbtBlue = ClampRound(double(sb) / double(count));
      q->rgbtGreen = ClampRound(double(sg) / double(count));
      q->rgbtRed = ClampRound(double(sr) / double(count));
    }
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float count = 0, sr = 0, sg = 0, sb = 0;
      for (int iy = y - range; iy <= y + range; ++iy) {
        if (iy < 0 || iy > h - 1)
          continue;
        const float gauss = gf[std::abs(iy - y)];
        const TRGBTriple* p = work.Data(x, iy);
        add(sr, double(p->rgbtRed) * double(gauss));
        add(sg, double(p->rgbtGreen) * double(gauss));
        add(sb, double(p->rgbtBlue) * double(gauss));
        add(count, double(gauss));
      }
      TRGBTriple* q = data.Data(x, y);
      q->rgbtBlue = ClampRound(double(sb) / double(count));
      q->rgbtGreen = ClampRound(double(sg) / double(count));
      q->rgbtRed = ClampRound(double(sr) / double(count));
    }
  }
  return true;
}

bool Soften(TBitmap& bmp, int percent) {
  if (bmp.PixelFormat() != pf24bit || percent < 0 || percent > 100)
    return false;
  const float r = float(percent / 100.0);
  auto copy = BmpClone(bmp);
  GaussianBlur(*copy, 1);
  TBmpData24 blurred(*copy);
  TBmpData24 data(bmp);
  auto blend = [&](std::uint8_t c, std::uint8_t s) {
    return ClampRound((1.0 - double(r)) * double(c) + double(r) * double(s));
  };
  for (int y = 0; y < data.Height(); ++y) {
    for (int x = 0; x < data.Width(); ++x) {
      TRGBTriple* q = data.Data(x, y);
      const TRGBTriple* s = blurred.Data(x, y);
      q->rgbtRed = blend(q->rgbtRed, s->rgbtRed);
      q->rgbtGreen = blend(q->rgbtGreen, s->rgbtGreen);
      q->rgbtBlue = blend(q->rgbtBlue, s->rgbtBlue);
    }
  }
  return true;
}

}  // namespace kelpra::reference
